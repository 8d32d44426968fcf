#include "tracker/app/rules/row_display.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using tracker::RowType;
using tracker::TripRecord;

TripRecord Row(RowType type) {
  TripRecord row;
  std::memset(&row, 0, sizeof row);
  row.type = type;
  return row;
}

TEST(RowDisplay, DurationsReadAsHoursMinutesSecondsWithDaysForParking) {
  EXPECT_EQ(tracker::DurationText(3725), "01:02:05");
  EXPECT_EQ(tracker::DurationText(0), "00:00:00");
  EXPECT_EQ(tracker::DurationText(123 * 3600 + 59), "123:00:59");
  EXPECT_EQ(tracker::ParkingDurationText(86399), "23:59:59");
  EXPECT_EQ(tracker::ParkingDurationText(86400 + 3725), "(1)  01:02:05");
}

TEST(RowDisplay, ConvertsRadiansAndKnots) {
  TripRecord drive = Row(RowType::kDrive);
  drive.distance = 0.001;
  drive.total_time = 100;
  drive.stop_time = 20;
  drive.speed_sum = 80 * 27.0;
  drive.max_speed = 30.0;
  drive.parking_time = 500;  // never shown for a drive row
  const auto shown = tracker::DisplayValues(drive);
  EXPECT_EQ(shown.distance_km, "6.38");
  EXPECT_EQ(shown.distance_miles, "3.96");
  EXPECT_EQ(shown.average_kmh, "50.00");
  EXPECT_EQ(shown.average_mph, "31.10");
  EXPECT_EQ(shown.max_kmh, "55.56");
  EXPECT_EQ(shown.max_mph, "34.56");
  EXPECT_EQ(shown.driving_time, "00:01:40");
  EXPECT_EQ(shown.parking_duration, "00:00:00");
}

TEST(RowDisplay, ARowThatNeverMovedHasNoAverageSpeed) {
  TripRecord standing = Row(RowType::kDay);
  standing.total_time = 40;
  standing.stop_time = 40;
  standing.parking_time = 90000;
  const auto shown = tracker::DisplayValues(standing);
  EXPECT_EQ(shown.average_kmh, "0.00");
  EXPECT_EQ(shown.average_mph, "0.00");
  EXPECT_EQ(shown.parking_duration, "(1)  01:00:00");

  TripRecord parking = Row(RowType::kParking);
  parking.parking_time = 600;
  EXPECT_EQ(tracker::DisplayValues(parking).average_kmh, "0.00");
  EXPECT_EQ(tracker::DisplayValues(parking).parking_duration, "00:10:00");
}

}  // namespace
