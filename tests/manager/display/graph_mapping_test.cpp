// Where the G-sensor graph puts a value, a sample and the cursor, and what the readouts say.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "manager/display/rules/graph_mapping.h"

namespace {

using namespace display;

TEST(GraphMapping, ValuesClampToTwoG) {
  EXPECT_EQ(GraphY(0.5), 592);
  EXPECT_EQ(GraphY(-1.0), 634);
  EXPECT_EQ(GraphY(0.0), 606);
  EXPECT_EQ(GraphY(2.0), 550);
  EXPECT_EQ(GraphY(3.5), 550);
  EXPECT_EQ(GraphY(-2.0), 662);
  EXPECT_EQ(GraphY(-40.0), 662);
  EXPECT_EQ(GraphY(0.01), 605);  // truncated toward zero
  EXPECT_EQ(GraphY(std::numeric_limits<double>::quiet_NaN()), 606);
  EXPECT_EQ(GraphY(std::numeric_limits<double>::infinity()), 550);
}

TEST(GraphMapping, SamplesSpreadOverTheWidth) {
  EXPECT_EQ(GraphX(0, 10), 70);
  EXPECT_EQ(GraphX(9, 10), 400);
  for (std::uint32_t i = 0; i < 367; ++i) EXPECT_EQ(GraphX(i, 367), 70 + static_cast<int>(i));
  EXPECT_EQ(GraphX(35999, 36000), 436);
}

TEST(GraphMapping, Cursor) {
  EXPECT_EQ(CursorX(0, 100), 70);
  EXPECT_EQ(CursorX(100, 100), 437);
  EXPECT_EQ(CursorX(50, 100), 253);
  EXPECT_FALSE(CursorX(50, 0));
}

TEST(GraphMapping, ProfilesNameTheStoredAxes) {
  const recording::GSensorSample sample{{1.0f, 2.0f, 3.0f}};
  const AxisValues dual = AxesOf(sample, setup::kDualProfile.gsensor_axes);  // stored Z, X, Y
  EXPECT_EQ(dual.z, 1.0);
  EXPECT_EQ(dual.x, 2.0);
  EXPECT_EQ(dual.y, 3.0);
  const AxisValues park = AxesOf(sample, setup::kParkProfile.gsensor_axes);
  EXPECT_EQ(park.x, 1.0);
  EXPECT_EQ(park.z, 3.0);
}

TEST(GraphMapping, Readouts) {
  EXPECT_EQ(ReadoutText('X', 0.0), "X :  0.0");
  EXPECT_EQ(ReadoutText('Y', -0.5), "Y : -0.5");
  EXPECT_EQ(ReadoutText('Z', 1.2), "Z :  1.2");
  EXPECT_EQ(ReadoutText('X', -0.04), "X : -0.0");  // keeps its sign
  EXPECT_EQ(ReadoutText('X', -0.0), "X :  0.0");
  EXPECT_TRUE(ReadoutsShown({0.0, -0.5, 1.2}));
  EXPECT_TRUE(ReadoutsShown({2.0, -2.0, 0.0}));
  EXPECT_FALSE(ReadoutsShown({0.5, -1.0, 3.5}));
  EXPECT_FALSE(ReadoutsShown({std::nan(""), 0.0, 0.0}));
}

}  // namespace
