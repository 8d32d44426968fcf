#pragma once

#include <cstddef>
#include <span>

#include "tracker/log/track_point.h"

namespace tracker {

// Size of one NMEA record in a decompressed GPS chunk: a sentence padded with NULs.
inline constexpr std::size_t kGpsRecordSize = 64;

// Reads one 64-byte record into `point` (written in place, so a reader parses straight into its
// store). Only a valid (`A`) RMC sentence of any talker ($GPRMC, $GNRMC, $GLRMC, ...) whose date
// and time are a real moment and whose checksum, when it has one, matches gives a fix; false
// for anything else, and `point` is then left partly written.
bool ParseRmcRecord(std::span<const char, kGpsRecordSize> record, TrackPoint& point);

}  // namespace tracker
