#include "tracker/log/route_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "make_point.h"

namespace {

using tracker::EncodeRoute;
using tracker::RoutePoint;

TEST(RouteEncodingTest, NumbersAndPathsUseTheWebMapPolylineFormat) {
  const std::vector<RoutePoint> first{{38.5, -120.2}};
  EXPECT_EQ(EncodeRoute(first, true).path, "_p~iF~ps|U");
  // Later points are encoded as differences from the one before.
  const std::vector<RoutePoint> three{{38.5, -120.2}, {40.7, -120.95}, {43.252, -126.453}};
  EXPECT_EQ(EncodeRoute(three, false).path, "_p~iF~ps|U_ulLnnqC_mqNvxq`@");

  std::string out;
  tracker::AppendEncodedNumber(out, 0);
  tracker::AppendEncodedNumber(out, -1);
  tracker::AppendEncodedNumber(out, 16);
  EXPECT_EQ(out, "?@_@");
}

TEST(RouteEncodingTest, CoordinatesAreCutTowardZeroAtTheFifthDecimal) {
  // 0.000019 and -0.000019 both become 1 hundred-thousandth, not 2.
  const std::vector<RoutePoint> points{{0.000019, -0.000019}};
  EXPECT_EQ(EncodeRoute(points, false).path, "A@");
}

TEST(RouteEncodingTest, TwoPointsAreBothEncodedWithTopLevels) {
  const std::vector<RoutePoint> points{{37.5, 127.0}, {37.6, 127.1}};
  const tracker::EncodedRoute route = EncodeRoute(points, true);
  EXPECT_EQ(route.levels, "PP");
  EXPECT_EQ(route.path, EncodeRoute(points, false).path);
}

TEST(RouteEncodingTest, AStraightLineKeepsOnlyItsEnds) {
  std::vector<RoutePoint> line;
  for (int i = 0; i < 5; ++i) line.push_back({37.0 + 0.01 * i, 127.0 + 0.02 * i});
  const tracker::EncodedRoute route = EncodeRoute(line, true);
  EXPECT_EQ(route.levels, "PP");
  const std::vector<RoutePoint> ends{line.front(), line.back()};
  EXPECT_EQ(route.path, EncodeRoute(ends, false).path);
}

TEST(RouteEncodingTest, ThinningKeepsCornersWithTheirDistances) {
  // A corner of 0.01° sticks out of the chord; a wiggle of 0.0000035° off the line does not.
  const std::vector<RoutePoint> points{{0.0, 0.0}, {0.005, 0.005005}, {0.01, 0.01}, {0.0, 0.02}};
  const std::vector<double> distances = tracker::ThinningDistances(points);
  ASSERT_EQ(distances.size(), 4u);
  EXPECT_EQ(distances[0], 0.0);
  EXPECT_EQ(distances[1], 0.0);
  EXPECT_NEAR(distances[2], 0.01, 1e-12);
  EXPECT_EQ(distances[3], 0.0);
  const tracker::EncodedRoute route = EncodeRoute(points, true);
  // 0.01 lies between B[8] = 0.00512 and B[7] = 0.01024: j = 8, character 63 + 9.
  EXPECT_EQ(route.levels, "PHP");
}

TEST(RouteEncodingTest, LevelCharactersFollowTheBreaks) {
  EXPECT_DOUBLE_EQ(tracker::LevelBreak(0), 1.31072);
  EXPECT_DOUBLE_EQ(tracker::LevelBreak(17), 1e-5);
  EXPECT_EQ(tracker::LevelCharacter(tracker::LevelBreak(0)), 'P');
  EXPECT_EQ(tracker::LevelCharacter(5.0), 'P');
  EXPECT_EQ(tracker::LevelCharacter(1.0), 'O');
  EXPECT_EQ(tracker::LevelCharacter(tracker::LevelBreak(1)), 'O');
  EXPECT_EQ(tracker::LevelCharacter(1.5e-5), '?');
  EXPECT_EQ(tracker::LevelCharacter(2e-5), '@');
}

TEST(RouteEncodingTest, SegmentDistanceMeasuresToTheNearestPartOfTheSegment) {
  const RoutePoint a{0.0, 0.0};
  const RoutePoint b{4.0, 0.0};
  EXPECT_DOUBLE_EQ(tracker::SegmentDistance({2.0, 3.0}, a, b), 3.0);   // beside the middle
  EXPECT_DOUBLE_EQ(tracker::SegmentDistance({-3.0, 4.0}, a, b), 5.0);  // before the start
  EXPECT_DOUBLE_EQ(tracker::SegmentDistance({7.0, 4.0}, a, b), 5.0);   // past the end
  EXPECT_DOUBLE_EQ(tracker::SegmentDistance({3.0, 4.0}, a, a), 5.0);   // a chord of one point
}

class RowRouteTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 6; ++i) {
      points_.push_back(
          tracker_test::MakePoint(20130101, tracker_test::Clock(36000 + i), 37.0 + 0.01 * i, 127.0 + 0.01 * i * i));
    }
  }
  tracker::TripRecord Row(tracker::RowType type, int first, int count) const {
    tracker::TripRecord row{};
    row.type = type;
    row.first_point = first;
    row.point_count = count;
    return row;
  }
  tracker::PointStore points_;
};

TEST_F(RowRouteTest, AParkingRowShowsFourPointsOrAsManyAsThereAre) {
  EXPECT_EQ(tracker::RowRoutePoints(Row(tracker::RowType::kParking, 1, 2), points_).size(), 4u);
  EXPECT_EQ(tracker::RowRoutePoints(Row(tracker::RowType::kParking, 4, 2), points_).size(), 2u);
  EXPECT_EQ(tracker::RowRoutePoints(Row(tracker::RowType::kParking, 5, 2), points_).size(), 1u);
  EXPECT_EQ(tracker::RowRoutePoints(Row(tracker::RowType::kDrive, 1, 3), points_).size(), 3u);
  EXPECT_TRUE(tracker::RowRoutePoints(Row(tracker::RowType::kDrive, 6, 1), points_).empty());
  EXPECT_DOUBLE_EQ(tracker::RowRoutePoints(Row(tracker::RowType::kDrive, 2, 1), points_)[0].latitude, 37.02);
}

TEST_F(RowRouteTest, WithoutThinningEveryPointIsEncodedWithoutLevels) {
  const tracker::TripRecord row = Row(tracker::RowType::kDrive, 0, 6);
  const tracker::EncodedRoute older = tracker::EncodeRowRoute(row, points_, false);
  EXPECT_TRUE(older.levels.empty());
  EXPECT_EQ(older.path, EncodeRoute(tracker::RowRoutePoints(row, points_), false).path);
  const tracker::EncodedRoute current = tracker::EncodeRowRoute(row, points_, true);
  EXPECT_EQ(current.levels.front(), 'P');
  EXPECT_EQ(current.levels.back(), 'P');
  EXPECT_EQ(current.path, EncodeRoute(tracker::RowRoutePoints(row, points_), true).path);
}

}  // namespace

namespace {

// Douglas-Peucker as plainly as it can be written: every split scans its whole stretch.
std::vector<double> PlainThinning(const std::vector<RoutePoint>& points) {
  std::vector<double> distances(points.size(), 0.0);
  if (points.size() <= 2) return distances;
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, points.size() - 1}};
  while (!stack.empty()) {
    const auto [first, last] = stack.back();
    double largest = 0.0;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
      const double d = tracker::SegmentDistance(points[i], points[first], points[last]);
      if (d > largest) largest = d, at = i;
    }
    if (largest > tracker::kThinningThreshold) {
      distances[at] = largest;
      stack.back() = {first, at};
      stack.emplace_back(at, last);
    } else {
      stack.pop_back();
    }
  }
  return distances;
}

TEST(RouteEncodingTest, FastThinningKeepsWhatAPlainScanKeeps) {
  std::uint32_t seed = 12345;
  const auto noise = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) - 0.5;
  };
  struct Case {
    const char* name;
    std::vector<RoutePoint> points;
  };
  std::vector<Case> cases = {{"random walk", {}},
                             {"drive with a wobble", {}},
                             {"loops", {}},
                             {"standing still, then off", {}},
                             {"out and back", {}}};
  for (int i = 0; i < 3000; ++i) {
    const double t = i;
    cases[0].points.push_back(
        {37.0 + (cases[0].points.empty() ? 0 : cases[0].points.back().latitude - 37.0) + 1e-4 * noise(),
         127.0 + 1e-4 * noise() + 1e-5 * t});
    cases[1].points.push_back({37.5 + 2e-5 * t + 3e-5 * noise(), 127.0 + 1e-5 * t + (i % 2 ? 2e-5 : -2e-5)});
    cases[2].points.push_back({37.5 + 0.01 * std::sin(t / 150.0), 127.0 + 0.01 * std::cos(t / 150.0) + 1e-6 * t});
    cases[3].points.push_back(i < 1500 ? RoutePoint{37.5, 127.0}
                                       : RoutePoint{37.5 + 1e-4 * (i - 1500), 127.0 + 3e-5 * noise()});
    cases[4].points.push_back({37.5 + 1e-4 * (i < 1500 ? i : 3000 - i) + 1e-5 * noise(), 127.0 + 1e-6 * noise()});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(tracker::ThinningDistances(c.points), PlainThinning(c.points));
  }
}

}  // namespace
