#pragma once

#include <string_view>

namespace tracker {

// A point prepared for the haversine: latitude and longitude in radians and the latitude's
// cosine, worked out once per fix rather than once per pair.
struct AnglePoint {
  double phi = 0.0;
  double lambda = 0.0;
  double cos_phi = 1.0;
};

AnglePoint MakeAnglePoint(double latitude, double longitude);
AnglePoint MakeAnglePoint(std::string_view latitude, std::string_view longitude);

// Central angle in radians between two points (haversine); no radius applied.
double GreatCircleAngle(const AnglePoint& from, const AnglePoint& to);
double GreatCircleAngle(double latitude1, double longitude1, double latitude2, double longitude2);
// The same for points given as stored coordinate texts.
double GreatCircleAngle(std::string_view latitude1, std::string_view longitude1, std::string_view latitude2,
                        std::string_view longitude2);

}  // namespace tracker
