#include "tracker/log/outlier_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "fake_scan_host.h"
#include "make_point.h"

namespace {

using tracker_test::Clock;
using tracker_test::MakePoint;

// `count` fixes `step` seconds apart from `start` (seconds of 2013-01-01), moving 0.0001° in
// latitude and longitude per fix (about 15 m) from the given position.
void Drive(tracker::PointStore& points, int start, int count, double latitude, double longitude, int step = 1) {
  for (int i = 0; i < count; ++i) {
    points.push_back(
        MakePoint(20130101, Clock(start + i * step), latitude + i * 0.0001, longitude + i * 0.0001, "027.0"));
  }
}

TEST(OutlierFilter, KeepsAPlausibleDriveWithItsLastFix) {
  tracker::PointStore points;
  Drive(points, 3600, 10, 37.0, 127.0);
  tracker_test::FakeScanHost host;
  tracker::FilterOutliers(points, host);
  ASSERT_EQ(points.size(), 10u);
  EXPECT_EQ(points.back().time_number, Clock(3609));
}

TEST(OutlierFilter, DropsShortRunsAfterABreakButNeverTheFirstSegment) {
  tracker::PointStore points;
  Drive(points, 3600, 3, 37.0, 127.0);   // segment 0: two pairs, then a 100 s break
  Drive(points, 3702, 4, 37.1, 127.1);   // three pairs, then a break: dropped
  Drive(points, 3800, 40, 37.2, 127.2);  // forty fixes: kept, last fix included
  tracker_test::FakeScanHost host;
  tracker::FilterOutliers(points, host);
  ASSERT_EQ(points.size(), 3u + 40u);
  EXPECT_EQ(points[2].time_number, Clock(3602));
  EXPECT_EQ(points[3].time_number, Clock(3800));
  EXPECT_EQ(points.back().time_number, Clock(3839));
  EXPECT_FALSE(host.progress.empty());
  EXPECT_EQ(host.progress.back().phase, tracker::ScanPhase::kFiltering);
}

TEST(OutlierFilter, DropsATeleportingRunAndAStandingRun) {
  tracker::PointStore points;
  Drive(points, 3600, 40, 37.0, 127.0);
  // 1000 km away one second later, then fixes 2 s apart: a run after a jump far beyond any
  // car's speed, whose pairs are fewer than 0.9 of its seconds.
  Drive(points, 3640, 40, 47.0, 137.0, 2);
  for (int i = 0; i < 40; ++i) {  // after a long gap, forty fixes that never move
    points.push_back(MakePoint(20130101, Clock(7200 + i), 37.0039, 127.0039));
  }
  tracker_test::FakeScanHost host;
  tracker::FilterOutliers(points, host);
  ASSERT_EQ(points.size(), 40u);
  EXPECT_EQ(points.back().time_number, Clock(3639));
}

TEST(OutlierFilter, JudgesALongScanMeasuredInSharesAsAWhole) {
  // Long enough to be measured on several threads; the jump sits in a later share.
  tracker::PointStore points;
  Drive(points, 0, 70000, 10.0, 20.0);
  Drive(points, 70000, 3, 50.0, 60.0);
  Drive(points, 70003, 1000, 17.0, 27.0);
  tracker_test::FakeScanHost host;
  tracker::FilterOutliers(points, host);
  ASSERT_EQ(points.size(), 71000u);
  EXPECT_EQ(points[69999].time_number, Clock(69999));
  EXPECT_EQ(points[70000].time_number, Clock(70003));
  EXPECT_EQ(points.back().time_number, Clock(71002));
}

// Stretches of 1 Hz driving along one heading: each entered after `gap` seconds during which the
// car moved `moved` metres (a tunnel: a plausible speed; a receiver's jump: kilometres in a
// second), then driven at `kmh`.
struct Stretch {
  int gap;
  double moved;
  double kmh;
  int count;
  bool kept;
};

TEST(OutlierFilter, FastSegmentsGoOnlyWhenJumpedIntoOrBeyondAnyCar) {
  const Stretch road{0, 0, 80, 60, true};
  const auto tunnel = [](double kmh, int count, bool kept) { return Stretch{45, kmh / 3.6 * 45, kmh, count, kept}; };
  const auto jump = [](double kmh, int count, bool kept) { return Stretch{1, 2000, kmh, count, kept}; };
  const std::vector<std::pair<std::string, std::vector<Stretch>>> cases = {
      {"motorway after a tunnel", {road, tunnel(105, 60, true)}},
      {"fast but drivable after a tunnel", {road, tunnel(200, 60, true)}},
      {"faster than any car", {road, tunnel(260, 60, false)}},
      {"five-point glitch entered by a jump", {road, jump(200, 5, false), jump(80, 60, true)}},
      {"fast run entered by a jump", {road, jump(120, 60, false)}},
      {"ordinary run entered by a jump", {road, jump(80, 60, true)}},
  };
  for (const auto& [what, stretches] : cases) {
    SCOPED_TRACE(what);
    tracker::PointStore points;
    std::vector<int> expected_times;
    int second = 3600;
    double metres = 0;  // along a north-easterly heading from 37 N 127 E
    const auto place = [&] {
      const double north = metres * std::sqrt(0.5);
      return std::pair(37.0 + north / 111320.0, 127.0 + north / (111320.0 * std::cos(37.0 * M_PI / 180.0)));
    };
    for (const Stretch& stretch : stretches) {
      second += stretch.gap;
      metres += stretch.moved;
      for (int i = 0; i < stretch.count; ++i, ++second, metres += stretch.kmh / 3.6) {
        const auto [latitude, longitude] = place();
        points.push_back(MakePoint(20130101, Clock(second), latitude, longitude, "050.0"));
        if (stretch.kept) expected_times.push_back(Clock(second));
      }
      second -= 1;
      metres -= stretch.kmh / 3.6;
    }
    tracker_test::FakeScanHost host;
    tracker::FilterOutliers(points, host);
    std::vector<int> times;
    for (const tracker::TrackPoint& point : points) times.push_back(point.time_number);
    EXPECT_EQ(times, expected_times);
  }
}

TEST(OutlierFilter, LeavesASingleFixAndStopsWhenCancelled) {
  tracker::PointStore one{MakePoint(20130101, 0, 1.0, 1.0)};
  tracker_test::FakeScanHost host;
  tracker::FilterOutliers(one, host);
  EXPECT_EQ(one.size(), 1u);

  tracker::PointStore points;
  Drive(points, 0, 1000, 37.0, 127.0);
  tracker_test::FakeScanHost cancelling;
  cancelling.cancel_after_reports = 1;
  tracker::FilterOutliers(points, cancelling);
  EXPECT_LT(cancelling.progress.size(), 3u);
}

}  // namespace
