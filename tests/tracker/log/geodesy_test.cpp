#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "tracker/log/distance_bounds.h"
#include "tracker/log/geodesic_distance.h"
#include "tracker/log/great_circle_angle.h"

namespace {

using tracker::GeodesicDistance;
using tracker::GreatCircleAngle;

TEST(GeodesicDistance, MatchesVincentysPublishedExample) {
  // Flinders Peak to Buninyong, the classic check of the inverse formula: 54972.271 m.
  const double lat1 = -(37 + 57 / 60.0 + 3.72030 / 3600);
  const double lon1 = 144 + 25 / 60.0 + 29.52440 / 3600;
  const double lat2 = -(37 + 39 / 60.0 + 10.15610 / 3600);
  const double lon2 = 143 + 55 / 60.0 + 35.38390 / 3600;
  EXPECT_NEAR(GeodesicDistance(lat1, lon1, lat2, lon2), 54972.271, 0.001);
}

TEST(GeodesicDistance, HandlesTheEquatorAndCoincidentPoints) {
  // Along the equator the distance is the arc of the major axis: a·Δλ.
  const double along_equator = GeodesicDistance(0.0, 10.0, 0.0, 11.0);
  EXPECT_FALSE(std::isnan(along_equator));
  EXPECT_NEAR(along_equator, 6378137.0 * 3.141592653589793 / 180.0, 1e-6);
  EXPECT_EQ(GeodesicDistance(37.5, 127.0, 37.5, 127.0), 0.0);
  EXPECT_NEAR(GeodesicDistance(0.0, 0.0, 1.0, 0.0), 110574.389, 0.01);
}

TEST(GreatCircleAngle, IsTheCentralAngleInRadians) {
  EXPECT_EQ(GreatCircleAngle("37.5", "127.0", "37.5", "127.0"), 0.0);
  EXPECT_NEAR(GreatCircleAngle(0.0, 0.0, 0.0, 90.0), 3.141592653589793 / 2, 1e-15);
  EXPECT_NEAR(GreatCircleAngle(10.0, 20.0, 11.0, 20.0), 3.141592653589793 / 180, 1e-15);
  EXPECT_NEAR(GreatCircleAngle(0.0, 0.0, 0.0, 180.0), 3.141592653589793, 1e-15);
  EXPECT_DOUBLE_EQ(GreatCircleAngle("-37.1234", "-122.3066", "-37.1235", "-122.3065"),
                   GreatCircleAngle(-37.1234, -122.3066, -37.1235, -122.3065));
}

}  // namespace

namespace {

using tracker::BoundDistance;
using tracker::MakeSpacePoint;
using tracker::StraightLine;

std::optional<double> LineBetween(double latitude1, double longitude1, double latitude2, double longitude2) {
  return StraightLine(latitude1, longitude1, MakeSpacePoint(latitude1, longitude1), latitude2, longitude2,
                      MakeSpacePoint(latitude2, longitude2));
}

TEST(DistanceBounds, HoldVincentysDistanceEverywhereTheyAreGiven) {
  // Pairs from a centimetre to 100 km apart, in every direction, from the equator to the
  // poles' edge and across the prime meridian: the filter's judgements rest on these bounds.
  std::mt19937 random(1994);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int bounded = 0;
  for (int i = 0; i < 200000; ++i) {
    const double latitude = (unit(random) * 2.0 - 1.0) * 89.9;
    const double longitude = (unit(random) * 2.0 - 1.0) * 180.0;
    const double metres = std::pow(10.0, -2.0 + 7.0 * unit(random));
    const double heading = unit(random) * 2.0 * M_PI;
    const double latitude2 = latitude + metres * std::cos(heading) / 111000.0;
    const double longitude2 =
        longitude + metres * std::sin(heading) / (111000.0 * std::max(0.01, std::cos(latitude * M_PI / 180.0)));
    const std::optional<double> line = LineBetween(latitude, longitude, latitude2, longitude2);
    if (!line) continue;
    ++bounded;
    const double exact = GeodesicDistance(latitude, longitude, latitude2, longitude2);
    const tracker::DistanceBounds bounds = BoundDistance(*line);
    ASSERT_LE(bounds.low, exact) << latitude << ' ' << longitude << ' ' << latitude2 << ' ' << longitude2;
    ASSERT_GE(bounds.high, exact) << latitude << ' ' << longitude << ' ' << latitude2 << ' ' << longitude2;
    // Tight enough that almost nothing is left in doubt.
    ASSERT_LT(bounds.high - bounds.low, 0.003 + 1.5e-5 * *line * (*line / 1e5));
  }
  EXPECT_GT(bounded, 150000);
}

TEST(DistanceBounds, LeaveFarNearPolarAndOddPairsToTheExactFormula) {
  struct Case {
    const char* what;
    double latitude1, longitude1, latitude2, longitude2;
    bool bounded;
  };
  const std::vector<Case> cases = {
      {"a street apart", 37.5, 127.0, 37.5001, 127.0001, true},
      {"over the prime meridian", 51.48, -0.00005, 51.48, 0.00005, true},
      {"over the antimeridian", -17.7, 179.9999, -17.7, -179.9999, false},
      {"200 km apart", 37.5, 127.0, 39.3, 127.0, false},
      {"by the pole", 89.95, 10.0, 89.95, 10.001, false},
      {"latitude beyond the pole", 99.0, 10.0, 99.0, 10.001, false},
      {"not a number", std::nan(""), 10.0, 37.5, 10.0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineBetween(c.latitude1, c.longitude1, c.latitude2, c.longitude2).has_value(), c.bounded) << c.what;
  }
}

}  // namespace
