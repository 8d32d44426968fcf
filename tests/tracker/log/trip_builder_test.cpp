#include "tracker/log/trip_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_scan_host.h"
#include "make_point.h"
#include "tracker/log/field_text.h"
#include "tracker/log/row_statistics.h"

namespace {

using tracker::FieldText;
using tracker::RowType;
using tracker::TripRecord;
using tracker_test::Clock;
using tracker_test::MakePoint;

constexpr tracker::TimeZoneOffset kUtc{0, 0};

tracker::TripList Build(tracker::PointStore& points, tracker::TimeZoneOffset zone = kUtc) {
  tracker_test::FakeScanHost host;
  auto list = tracker::BuildTrips(points, zone, true, host);
  EXPECT_TRUE(list);
  return list ? *list : tracker::TripList{};
}

std::string Describe(const TripRecord& row) {
  return std::to_string(static_cast<int>(row.type)) + " " + std::string(FieldText(row.start_date)) + " " +
         std::string(FieldText(row.start_time)) + " " + std::to_string(row.first_point) + "+" +
         std::to_string(row.point_count);
}

std::vector<std::string> Listed(const tracker::TripList& list) {
  std::vector<std::string> rows;
  for (std::int32_t index : list.order) rows.push_back(Describe(list.rows[index]));
  return rows;
}

// Fixes of 2013-01-01 at the given seconds of the day, each 0.0001° further north-east.
tracker::PointStore FixesAt(std::initializer_list<int> seconds, int date = 20130101) {
  tracker::PointStore points;
  int i = 0;
  for (int second : seconds) {
    points.push_back(MakePoint(date, Clock(second), 37.0 + i * 0.0001, 127.0 + i * 0.0001, "027.0"));
    ++i;
  }
  return points;
}

TEST(TripBuilder, AGapOfTenMinutesEndsADriveAndAddsAParkingRow) {
  auto points = FixesAt({36000, 36001, 36601, 36602, 37201});
  const auto list = Build(points);
  EXPECT_EQ(Listed(list), (std::vector<std::string>{
                              "0 20130101 100000 0+5",
                              "1 20130101 100000 0+2",
                              "-1 20130101 100001 1+2",
                              "1 20130101 101001 2+3",
                          }));
  // 599 s later is still the same drive; the pairs over 599 s are left out of the times.
  const TripRecord& day = list.rows[0];
  EXPECT_EQ(day.total_time, 1 + 1 + 599);
  EXPECT_EQ(day.parking_time, 600);
  EXPECT_EQ(list.rows[3].parking_time, 600);  // the parking row, third in the table
  EXPECT_EQ(list.rows[3].type, RowType::kParking);
}

TEST(TripBuilder, ParkingOverMidnightEndsAtTheEndOfItsFirstDay) {
  tracker::PointStore points = FixesAt({86000, 86001});
  tracker::PointStore next = FixesAt({100, 101}, 20130102);
  points.insert(points.end(), next.begin(), next.end());
  const auto list = Build(points);
  EXPECT_EQ(Listed(list), (std::vector<std::string>{
                              "0 20130101 235320 0+2",
                              "1 20130101 235320 0+2",
                              "-1 20130101 235321 1+2",
                              "0 20130102 000140 2+2",
                              "1 20130102 000140 2+2",
                          }));
  const TripRecord& parking = list.rows[list.order[2]];
  EXPECT_EQ(parking.parking_time, 86399 - 86001);
  EXPECT_EQ(list.rows[list.order[0]].parking_time, 86399 - 86001);
  EXPECT_EQ(list.rows[list.order[3]].parking_time, 0);
}

TEST(TripBuilder, TheTimeZoneMovesTheDayCuts) {
  // 14:59:59 and 15:00:00 UTC are 23:59:59 and 00:00:00 in Seoul.
  auto points = FixesAt({53999, 54000});
  const auto list = Build(points, {9, 0});
  EXPECT_EQ(Listed(list), (std::vector<std::string>{
                              "0 20130101 235959 0+1",
                              "1 20130101 235959 0+1",
                              "-1 20130101 235959 0+2",
                              "0 20130102 000000 1+1",
                              "1 20130102 000000 1+1",
                          }));
}

TEST(TripBuilder, FixesAMonthApartOnTheSameDayOfTheMonthAreTwoDays) {
  auto points = FixesAt({36000});
  points.push_back(MakePoint(20130201, Clock(36000), 37.0, 127.0));
  const auto list = Build(points);
  ASSERT_EQ(list.rows.size(), 5u);
  EXPECT_EQ(Describe(list.rows[1]), "0 20130201 100000 1+1");
}

TEST(TripBuilder, AStopOverUtcMidnightIsNotSummedAsDriving) {
  // In Seoul 07:59:59-08:00:00, a two-hour stop, then 10:00:00-10:00:01 on the same local day;
  // the stop runs over UTC midnight, where the times of day alone would make it 0 s.
  tracker::PointStore points = {
      MakePoint(20130101, 225959, 37.0, 127.0, "010.0"), MakePoint(20130101, 230000, 37.0001, 127.0001, "010.0"),
      MakePoint(20130102, 10000, 38.0, 128.0, "010.0"), MakePoint(20130102, 10001, 38.0001, 128.0001, "010.0")};
  const auto list = Build(points, {9, 0});
  ASSERT_EQ(list.rows.size(), 4u);
  const TripRecord& day = list.rows[0];
  EXPECT_EQ(day.point_count, 4);
  EXPECT_EQ(day.total_time, 2);
  EXPECT_EQ(day.speed_sum, 20.0);
  EXPECT_DOUBLE_EQ(day.distance, list.rows[1].distance + list.rows[2].distance);
  EXPECT_EQ(day.parking_time, 7200);
}

TEST(TripBuilder, AStandingRowCountsAllItsTimeAsStopped) {
  tracker::PointStore points = {MakePoint(20130101, 100000, 37.5, 127.0, "001.0"),
                                MakePoint(20130101, 100003, 37.5, 127.0, "001.0")};
  const auto list = Build(points);
  const TripRecord& drive = list.rows[1];
  EXPECT_EQ(drive.distance, 0.0);
  EXPECT_EQ(drive.total_time, 3);
  EXPECT_EQ(drive.stop_time, 3);
  EXPECT_EQ(drive.speed_sum, 0.0);
}

TEST(TripBuilder, SortsAndKeepsOneFixPerSecond) {
  tracker::PointStore points = {
      MakePoint(20130101, 100002, 37.0002, 127.0002, "003.0"), MakePoint(20130101, 100000, 37.0, 127.0, "001.0"),
      MakePoint(20130101, 100001, 37.0001, 127.0001, "002.0"), MakePoint(20130101, 100001, 37.0001, 127.0001, "002.0"),
      MakePoint(20130101, 100001, 37.0001, 127.0001, "002.0")};
  const auto list = Build(points);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].time_number, 100000);
  EXPECT_EQ(points[2].time_number, 100002);
  EXPECT_EQ(list.rows[1].speed_sum, 3.0);
  EXPECT_EQ(list.rows[1].max_speed, 2.0);
}

TEST(TripBuilder, GivesNothingForNoPointsOrWhenCancelled) {
  tracker::PointStore none;
  tracker_test::FakeScanHost host;
  EXPECT_FALSE(tracker::BuildTrips(none, kUtc, true, host));
  auto points = FixesAt({1, 2, 3});
  host.cancel = true;
  EXPECT_FALSE(tracker::BuildTrips(points, kUtc, true, host));
}

TEST(TripBuilderLong, SumsOverSharesEqualTheRowByRowStatistics) {
  // Long enough for the pairs to be measured on several threads, with stops and standing
  // stretches across the shares' edges.
  tracker::PointStore points;
  for (int i = 0; i < 150000; ++i) {
    const int second = i + (i / 20000) * 700;  // a parking stop every 20,000 fixes
    const double step = (i % 1000 < 100) ? 0.0 : i * 0.00001;
    points.push_back(MakePoint(20130101 + second / 86400, Clock(second % 86400), 37.0 + step, 127.0 - step,
                               i % 7 ? "031.5" : "000.0"));
  }
  const tracker::TripList list = Build(points);
  ASSERT_GT(list.rows.size(), 10u);
  for (const TripRecord& row : list.rows) {
    TripRecord alone = row;
    tracker::ComputeRowStatistics(alone, points, 0);
    EXPECT_EQ(alone.distance, row.distance) << Describe(row);
    EXPECT_EQ(alone.total_time, row.total_time) << Describe(row);
    EXPECT_EQ(alone.stop_time, row.stop_time) << Describe(row);
    EXPECT_EQ(alone.speed_sum, row.speed_sum) << Describe(row);
    EXPECT_EQ(alone.max_speed, row.max_speed) << Describe(row);
  }
}

}  // namespace
