#include "tracker/log/fixed_decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

std::string Printf(double value, int decimals = 6) {
  char text[128];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Fast(double value, int decimals = 6) {
  char text[64];
  return std::string(text, tracker::FormatFixed(value, decimals, text));
}

TEST(FixedDecimal, MatchesPrintfIncludingTiesAndSigns) {
  for (double value : {0.0,
                       -0.0,
                       48.1173,
                       11.516666666666667,
                       -37.123456666666669,
                       0.0078125,
                       0.0234375,
                       -0.0078125,
                       1.0000005,
                       179.9999995,
                       1e-300,
                       -4e-7,
                       5e-7,
                       123456789.123456789,
                       1e15,
                       -1e20,
                       0.5e-6,
                       0.05,
                       1.05,
                       100.5,
                       9.5,
                       0.25,
                       99.99999951}) {
    for (int decimals = 0; decimals <= 6; ++decimals)
      EXPECT_EQ(Fast(value, decimals), Printf(value, decimals)) << value;
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> degrees(-180.0, 180.0);
  for (int i = 0; i < 100000; ++i) {
    const double value = degrees(random);
    ASSERT_EQ(Fast(value), Printf(value)) << value;
    // Values on the half-millionth grid are exact ties when they are dyadic.
    const double tie = std::ldexp(std::round(std::ldexp(value, 20)), -20);
    ASSERT_EQ(Fast(tie), Printf(tie)) << tie;
    // Five decimals: the rounding of the south and west, ties included.
    const double tie5 = std::ldexp(std::round(std::ldexp(value, 18)), -18);
    ASSERT_EQ(Fast(value, 5), Printf(value, 5)) << value;
    ASSERT_EQ(Fast(tie5, 5), Printf(tie5, 5)) << tie5;
  }
}

}  // namespace
