#include "tracker/log/great_circle_angle.h"

#include <cmath>

#include "tracker/log/text_number.h"

namespace tracker {

namespace {

constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;

}  // namespace

AnglePoint MakeAnglePoint(double latitude, double longitude) {
  const double phi = latitude * kRadiansPerDegree;
  return {phi, longitude * kRadiansPerDegree, std::cos(phi)};
}

AnglePoint MakeAnglePoint(std::string_view latitude, std::string_view longitude) {
  return MakeAnglePoint(TextToDouble(latitude), TextToDouble(longitude));
}

double GreatCircleAngle(const AnglePoint& from, const AnglePoint& to) {
  const double half_dphi = std::sin((to.phi - from.phi) / 2.0);
  const double half_dlambda = std::sin((to.lambda - from.lambda) / 2.0);
  const double h = half_dlambda * half_dlambda * from.cos_phi * to.cos_phi + half_dphi * half_dphi;
  // Rounding can lift h a hair above 1 for antipodal points; keep the root real.
  return 2.0 * std::atan2(std::sqrt(h), std::sqrt(h < 1.0 ? 1.0 - h : 0.0));
}

double GreatCircleAngle(double latitude1, double longitude1, double latitude2, double longitude2) {
  return GreatCircleAngle(MakeAnglePoint(latitude1, longitude1), MakeAnglePoint(latitude2, longitude2));
}

double GreatCircleAngle(std::string_view latitude1, std::string_view longitude1, std::string_view latitude2,
                        std::string_view longitude2) {
  return GreatCircleAngle(MakeAnglePoint(latitude1, longitude1), MakeAnglePoint(latitude2, longitude2));
}

}  // namespace tracker
