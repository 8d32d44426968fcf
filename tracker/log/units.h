#pragma once

namespace tracker {

// Conversions from the units the rows keep (radians of arc, knots) to what people read.
inline constexpr double kKilometresPerRadian = 6378.0;
inline constexpr double kMilesPerRadian = 3963.0;
inline constexpr double kKmhPerKnot = 1.852;
inline constexpr double kMphPerKnot = 1.152;

}  // namespace tracker
