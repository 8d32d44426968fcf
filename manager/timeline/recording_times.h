#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace timeline {

// What a recording's file says about when it ran, read from box headers and a few bytes, never
// the whole file: finding the recordings of a moment must stay cheap on a full card.
struct RecordingTimes {
  std::optional<std::int64_t> firstSample;  // the sensor record's first time stamp: the camera's local clock
  std::optional<std::int64_t> duration;     // 100 ns units
};

// A camera recording never runs for a day: a longer duration is damage, not a recording.
inline constexpr std::int64_t kLongestRecording = 24LL * 3600 * 10'000'000;

// The movie header's duration where there is one, else one second per time stamp, as the
// camera writes them. A time stamp of 0 or less (a camera without a set clock) counts as none.
RecordingTimes ReadRecordingTimes(const std::filesystem::path& path);

// The camera's local start time written in a recording's name ("drf_20240513_061530.mp4"),
// as seconds since 1970 on the camera's clock; none for a name whose date or time is not one.
std::optional<std::int64_t> NameLocalSeconds(std::string_view path);

}  // namespace timeline
