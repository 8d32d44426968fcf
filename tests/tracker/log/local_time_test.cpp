#include <gtest/gtest.h>

#include <ctime>

#include "tracker/log/local_time.h"
#include "tracker/log/time_zone.h"

namespace {

using tracker::LocalTime;
using tracker::OffsetSeconds;
using tracker::TimeZoneOffsetAt;
using tracker::TimeZoneOffsetFromName;
using tracker::ToLocalTime;

TEST(TimeZone, OffsetsAreReadFromTheEntryText) {
  EXPECT_EQ(tracker::kTimeZoneNames[30], "GMT) Greenwich Mean Time: Dublin, Edinburgh, Lisbon, London");
  EXPECT_EQ(tracker::kTimeZoneNames[71], "GMT +09:00) Seoul");
  EXPECT_EQ(tracker::kTimeZoneNames[83], "GMT +13:00) Nuku'alofa");
  const auto newfoundland = TimeZoneOffsetAt(21);
  EXPECT_EQ(newfoundland.hours, -3);
  EXPECT_EQ(newfoundland.minutes, -30);
  const auto casablanca = TimeZoneOffsetFromName("GMT) Casablanca, Monrovia, Reykjavik");
  EXPECT_EQ(casablanca.hours, 0);
  EXPECT_EQ(casablanca.minutes, 0);
  const auto kathmandu = TimeZoneOffsetAt(60);
  EXPECT_EQ(OffsetSeconds(kathmandu, false), 5 * 3600 + 45 * 60);
  EXPECT_EQ(OffsetSeconds(kathmandu, true), 6 * 3600 + 45 * 60);
  EXPECT_EQ(TimeZoneOffsetAt(84).hours, 9);  // out of range: Seoul
  EXPECT_EQ(TimeZoneOffsetAt(-1).hours, 9);
}

TEST(LocalTime, ShiftsAcrossDaysMonthsAndYears) {
  const LocalTime seoul = ToLocalTime(20121231, 153000, 9 * 3600);
  EXPECT_EQ(tracker::DateText(seoul), "20130101");
  EXPECT_EQ(tracker::TimeText(seoul), "003000");
  const LocalTime newfoundland = ToLocalTime(20120301, 10000, -(3 * 3600 + 30 * 60));
  EXPECT_EQ(tracker::DateText(newfoundland), "20120229");
  EXPECT_EQ(tracker::TimeText(newfoundland), "213000");
  EXPECT_EQ(ToLocalTime(19700101, 0, 0).seconds, 0);
}

TEST(LocalTime, EqualsTheCLibraryOnUtcIncludingItsNormalisation) {
  // What mktime and localtime give on a computer set to UTC, which timegm/gmtime give anywhere.
  const struct {
    int date, time;
  } cases[] = {{20130101, 0},      {19050101, 235959}, {20491231, 120000}, {20000229, 10203},  {20130001, 120000},
               {20131301, 120000}, {20130100, 0},      {20130231, 0},      {20130101, 246161}, {19940323, 123519}};
  for (const auto& c : cases) {
    std::tm tm{};
    tm.tm_year = c.date / 10000 - 1900;
    tm.tm_mon = (c.date / 100) % 100 - 1;
    tm.tm_mday = c.date % 100;
    tm.tm_hour = c.time / 10000;
    tm.tm_min = (c.time / 100) % 100;
    tm.tm_sec = c.time % 100;
    const std::time_t shifted = timegm(&tm) + 5 * 3600 + 45 * 60;
    std::tm back{};
    gmtime_r(&shifted, &back);
    const LocalTime local = ToLocalTime(c.date, c.time, 5 * 3600 + 45 * 60);
    EXPECT_EQ(local.seconds, shifted) << c.date << ' ' << c.time;
    EXPECT_EQ(local.year, back.tm_year + 1900) << c.date;
    EXPECT_EQ(local.month, back.tm_mon + 1) << c.date;
    EXPECT_EQ(local.day, back.tm_mday) << c.date;
    EXPECT_EQ(local.hour * 3600 + local.minute * 60 + local.second,
              back.tm_hour * 3600 + back.tm_min * 60 + back.tm_sec)
        << c.time;
  }
}

}  // namespace
