#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "manager/recording/gps_decode.h"
#include "manager/setup/profile.h"

namespace incident {

// The texts of the incident folder's data files, made from the samples of the range. Every
// sample carries its place relative to the moment (negative before it) and, where the time table
// has one, its date and time.

struct TrackSample {
  double seconds = 0;               // from the moment
  std::optional<std::int32_t> utc;  // the time sample, seconds since 1970
  recording::GpsFix fix;
  recording::FixKind kind = recording::FixKind::None;
};

struct GSample {
  double seconds = 0;
  std::optional<std::int32_t> utc;
  std::array<float, 3> stored{};  // in stored order
  std::optional<float> change;    // against its recording's median (none: damaged sample)
};

// "YYYY-MM-DDThh:mm:ssZ"; none for a negative time.
std::optional<std::string> IsoTime(std::int32_t utc);

// GPX 1.1: one track of the fixes with a position, each with its time where known.
std::string TrackGpx(std::span<const TrackSample> samples, std::string_view name);

// KML 2.2: the path as a line, the moment as a point, and the fixes with their times (gx:Track).
std::string TrackKml(std::span<const TrackSample> samples, std::string_view name,
                     const std::optional<recording::GpsFix>& moment);

// CSV: seconds from the moment, time, the stored values, the profile's X, Y, Z and the change.
std::string GSensorCsv(std::span<const GSample> samples, const setup::Profile& profile);

// One line of a SHA256SUMS file as `sha256sum -c` reads it: the digest, two blanks and the
// path; a path with a backslash or a line break is escaped the way sha256sum escapes it.
std::string ChecksumLine(std::string_view hexDigest, std::string_view path);

}  // namespace incident
