#pragma once

#include <string_view>

namespace tracker {

// Central angle in radians between two points given in degrees (haversine); no radius applied.
double GreatCircleAngle(double latitude1, double longitude1, double latitude2, double longitude2);

// The same for points given as stored coordinate texts.
double GreatCircleAngle(std::string_view latitude1, std::string_view longitude1,
                        std::string_view latitude2, std::string_view longitude2);

}  // namespace tracker
