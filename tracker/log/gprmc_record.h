#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "tracker/log/track_point.h"

namespace tracker {

// Size of one NMEA record in a decompressed GPS chunk: a sentence padded with NULs.
inline constexpr std::size_t kGpsRecordSize = 64;

// Turns one 64-byte record into a fix: only valid (`A`) `$GPRMC` sentences with a numeric
// date give a point; anything else gives nothing.
std::optional<TrackPoint> ParseGprmcRecord(std::span<const char, kGpsRecordSize> record);

}  // namespace tracker
