#include "tests/tracker/map/polyline.h"

#include <gtest/gtest.h>

namespace {

TEST(Polyline, ReadsTheFormatsExampleAndWhatTheEncoderWrites) {
  const auto example = tracker::DecodePolyline("_p~iF~ps|U");
  ASSERT_EQ(example.size(), 1u);
  EXPECT_DOUBLE_EQ(example[0].latitude, 38.5);
  EXPECT_DOUBLE_EQ(example[0].longitude, -120.2);

  const std::vector<tracker::RoutePoint> route = {
      {37.56651, 126.97801}, {-33.86882, 151.20929}, {0.0, -0.00001}, {64.14661, -21.94266}};
  const tracker::EncodedRoute encoded = tracker::EncodeRoute(route, false);
  const auto decoded = tracker::DecodePolyline(encoded.path);
  ASSERT_EQ(decoded.size(), route.size());
  for (std::size_t i = 0; i < route.size(); ++i) {
    EXPECT_NEAR(decoded[i].latitude, route[i].latitude, 1e-5) << i;
    EXPECT_NEAR(decoded[i].longitude, route[i].longitude, 1e-5) << i;
  }
}

TEST(Polyline, ACutOffPathGivesTheCompletePointsOnly) {
  const std::string path = "_p~iF~ps|U_ulLnnqC";
  EXPECT_EQ(tracker::DecodePolyline(path).size(), 2u);
  EXPECT_EQ(tracker::DecodePolyline(path.substr(0, path.size() - 1)).size(), 1u);
  EXPECT_EQ(tracker::DecodePolyline(path.substr(0, 7)).size(), 0u);
  EXPECT_TRUE(tracker::DecodePolyline("").empty());
  EXPECT_TRUE(tracker::DecodePolyline("\x01\x02").empty());
}

}  // namespace
