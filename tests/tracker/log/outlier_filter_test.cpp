#include "tracker/log/outlier_filter.h"

#include <gtest/gtest.h>

#include "fake_scan_host.h"
#include "make_point.h"

namespace {

using tracker_test::Clock;
using tracker_test::MakePoint;

// `count` fixes `step` seconds apart from `start` (seconds of 2013-01-01), moving 0.0001° in
// latitude and longitude per fix (about 15 m) from the given position.
void Drive(tracker::PointStore& points, int start, int count, double latitude, double longitude,
           int step = 1) {
  for (int i = 0; i < count; ++i) {
    points.push_back(MakePoint(20130101, Clock(start + i * step), latitude + i * 0.0001,
                               longitude + i * 0.0001, "027.0"));
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
  Drive(points, 3600, 3, 37.0, 127.0);      // segment 0: two pairs, then a 100 s break
  Drive(points, 3702, 4, 37.1, 127.1);      // three pairs, then a break: dropped
  Drive(points, 3800, 40, 37.2, 127.2);     // forty fixes: kept, last fix included
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
  for (int i = 0; i < 40; ++i) {        // after a long gap, forty fixes that never move
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
