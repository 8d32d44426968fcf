#pragma once

#include <cstdint>
#include <string>

#include "tracker/log/time_zone.h"

namespace tracker {

// A fix's time in the chosen zone, broken down, plus the second count used to compare fixes.
struct LocalTime {
  std::int64_t seconds = 0;  // seconds since 1970-01-01 00:00:00, zone offset included
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// Seconds to add to UTC: the zone's hours and minutes, plus an hour for daylight saving.
std::int64_t OffsetSeconds(TimeZoneOffset zone, bool daylight_saving);

// The local time of a fix's date number (YYYYMMDD) and time number (hhmmss). Computed with
// UTC calendar arithmetic, so the computer's own zone and its clock changes never matter;
// out-of-range fields carry over as the C library's calendar normalisation does.
LocalTime ToLocalTime(std::int32_t date_number, std::int32_t time_number,
                      std::int64_t offset_seconds);

std::string DateText(const LocalTime& time);  // "%04d%02d%02d"
std::string TimeText(const LocalTime& time);  // "%02d%02d%02d"

}  // namespace tracker
