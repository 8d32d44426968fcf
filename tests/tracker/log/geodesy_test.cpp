#include <gtest/gtest.h>

#include <cmath>

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
