#pragma once

#include <cstdint>
#include <string>

#include "tracker/log/time_zone.h"

namespace tracker {

// Seconds since 1970-01-01 00:00:00 UTC of a fix's date and time numbers.
std::int64_t UtcSeconds(std::int32_t date_number, std::int32_t time_number);

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
LocalTime ToLocalTime(std::int32_t date_number, std::int32_t time_number, std::int64_t offset_seconds);

// ToLocalTime for a run of fixes in time order: consecutive fixes are mostly on the same
// date, so the calendar work is done once per date rather than once per fix.
class LocalClock {
 public:
  explicit LocalClock(std::int64_t offset_seconds) : offset_(offset_seconds) {}
  LocalTime operator()(std::int32_t date_number, std::int32_t time_number);

 private:
  std::int64_t offset_;
  bool has_date_ = false;
  std::int32_t date_number_ = 0;
  std::int64_t date_seconds_ = 0;  // UTC seconds of the date's midnight
  bool has_local_day_ = false;
  std::int64_t local_day_ = 0;
  int year_ = 0, month_ = 0, day_ = 0;
};

std::string DateText(const LocalTime& time);  // "%04d%02d%02d"
std::string TimeText(const LocalTime& time);  // "%02d%02d%02d"

}  // namespace tracker
