#include "tracker/log/great_circle_angle.h"

#include <cmath>

#include "tracker/log/text_number.h"

namespace tracker {

namespace {

constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;

}  // namespace

double GreatCircleAngle(double latitude1, double longitude1, double latitude2, double longitude2) {
  const double phi1 = latitude1 * kRadiansPerDegree;
  const double phi2 = latitude2 * kRadiansPerDegree;
  const double half_dphi = std::sin((phi2 - phi1) / 2.0);
  const double half_dlambda = std::sin((longitude2 * kRadiansPerDegree - longitude1 * kRadiansPerDegree) / 2.0);
  const double h = half_dlambda * half_dlambda * std::cos(phi1) * std::cos(phi2) + half_dphi * half_dphi;
  // Rounding can lift h a hair above 1 for antipodal points; keep the root real.
  return 2.0 * std::atan2(std::sqrt(h), std::sqrt(h < 1.0 ? 1.0 - h : 0.0));
}

double GreatCircleAngle(std::string_view latitude1, std::string_view longitude1,
                        std::string_view latitude2, std::string_view longitude2) {
  return GreatCircleAngle(TextToDouble(latitude1), TextToDouble(longitude1),
                          TextToDouble(latitude2), TextToDouble(longitude2));
}

}  // namespace tracker
