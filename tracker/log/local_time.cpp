#include "tracker/log/local_time.h"

#include <cstdio>

#include "common/hhmmss.h"

namespace tracker {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of the first of a month in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month) {
  year -= month <= 2;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

void CivilFromDays(std::int64_t days, LocalTime& out) {
  days += 719468;
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  out.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  out.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  out.year = static_cast<int>(year_of_era + era * 400 + (out.month <= 2));
}

// UTC seconds of a date number's midnight. Month 0 or 13 and day 0 or 32 roll into the
// neighbouring month or year, as mktime does.
std::int64_t DateSeconds(std::int32_t date_number) {
  const std::int64_t month_index = (date_number / 100) % 100 - 1;
  const std::int64_t year = date_number / 10000 + FloorDiv(month_index, 12);
  const std::int64_t month = month_index - FloorDiv(month_index, 12) * 12 + 1;
  return (DaysFromCivil(year, month) + date_number % 100 - 1) * 86400;
}

void SetClock(LocalTime& local, std::int64_t second_of_day) {
  local.hour = static_cast<int>(second_of_day / 3600);
  local.minute = static_cast<int>(second_of_day / 60 % 60);
  local.second = static_cast<int>(second_of_day % 60);
}

}  // namespace

std::int64_t OffsetSeconds(TimeZoneOffset zone, bool daylight_saving) {
  return std::int64_t{zone.hours} * 3600 + std::int64_t{zone.minutes} * 60 + (daylight_saving ? 3600 : 0);
}

std::int64_t UtcSeconds(std::int32_t date_number, std::int32_t time_number) {
  return DateSeconds(date_number) + common::HhmmssSeconds(time_number);
}

LocalTime ToLocalTime(std::int32_t date_number, std::int32_t time_number, std::int64_t offset_seconds) {
  LocalTime local;
  local.seconds = DateSeconds(date_number) + common::HhmmssSeconds(time_number) + offset_seconds;
  const std::int64_t local_days = FloorDiv(local.seconds, 86400);
  CivilFromDays(local_days, local);
  SetClock(local, local.seconds - local_days * 86400);
  return local;
}

LocalTime LocalClock::operator()(std::int32_t date_number, std::int32_t time_number) {
  if (!has_date_ || date_number != date_number_) {
    has_date_ = true;
    date_number_ = date_number;
    date_seconds_ = DateSeconds(date_number);
  }
  LocalTime local;
  local.seconds = date_seconds_ + common::HhmmssSeconds(time_number) + offset_;
  const std::int64_t local_days = FloorDiv(local.seconds, 86400);
  if (!has_local_day_ || local_days != local_day_) {
    has_local_day_ = true;
    local_day_ = local_days;
    CivilFromDays(local_days, local);
    year_ = local.year;
    month_ = local.month;
    day_ = local.day;
  }
  local.year = year_;
  local.month = month_;
  local.day = day_;
  SetClock(local, local.seconds - local_days * 86400);
  return local;
}

std::string DateText(const LocalTime& time) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", time.year, time.month, time.day);
  return text;
}

std::string TimeText(const LocalTime& time) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02d", time.hour, time.minute, time.second);
  return text;
}

}  // namespace tracker
