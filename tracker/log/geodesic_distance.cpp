#include "tracker/log/geodesic_distance.h"

#include <cmath>

namespace tracker {

namespace {

constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;
// WGS 84: the major semi-axis a is 6378137 m (it enters only through the figures below).
constexpr double kMinorAxis = 6356752.3142;
constexpr double kFlattening = 0.0033528106647474805;
constexpr double kOneMinusFlattening = 0.9966471893352525;
// (a² - b²) / b², with the squares as the WGS-84 figures above give them.
constexpr double kSecondEccentricitySquared = 272331606681.9453 / 40408299984087.055;
constexpr int kIterationLimit = 100;
constexpr double kConvergence = 1e-12;

}  // namespace

GeodesicPoint MakeGeodesicPoint(double latitude, double longitude) {
  // Reduced latitude U with tan U = (1 - f) tan φ; its sine and cosine follow from tan U
  // without going through the angle.
  const double tan_u = kOneMinusFlattening * std::tan(latitude * kRadiansPerDegree);
  const double cos_u = 1.0 / std::sqrt(1.0 + tan_u * tan_u);
  return {longitude * kRadiansPerDegree, tan_u * cos_u, cos_u};
}

double GeodesicDistance(double latitude1, double longitude1, double latitude2, double longitude2) {
  return GeodesicDistance(MakeGeodesicPoint(latitude1, longitude1), MakeGeodesicPoint(latitude2, longitude2));
}

double GeodesicDistance(const GeodesicPoint& from, const GeodesicPoint& to) {
  const double l = to.longitude - from.longitude;
  // The same position twice (a car standing still): no need to iterate.
  if (l == 0.0 && from.sin_u == to.sin_u && from.cos_u == to.cos_u) return 0.0;
  const double sin_u1 = from.sin_u, cos_u1 = from.cos_u;
  const double sin_u2 = to.sin_u, cos_u2 = to.cos_u;

  double lambda = l;
  double sin_sigma = 0.0, cos_sigma = 0.0, sigma = 0.0;
  double cos_sq_alpha = 0.0, cos_2sigma_m = 0.0;
  for (int iteration = 0; iteration < kIterationLimit; ++iteration) {
    const double sin_lambda = std::sin(lambda), cos_lambda = std::cos(lambda);
    const double a = cos_u2 * sin_lambda;
    const double b = cos_u1 * sin_u2 - sin_u1 * cos_u2 * cos_lambda;
    sin_sigma = std::sqrt(a * a + b * b);
    if (sin_sigma == 0.0) return 0.0;  // coincident points
    cos_sigma = sin_u1 * sin_u2 + cos_u1 * cos_u2 * cos_lambda;
    sigma = std::atan2(sin_sigma, cos_sigma);
    const double sin_alpha = cos_u1 * cos_u2 * sin_lambda / sin_sigma;
    cos_sq_alpha = 1.0 - sin_alpha * sin_alpha;
    // Both points on the equator: the geodesic runs along it and this term is 0, not 0/0.
    cos_2sigma_m = cos_sq_alpha != 0.0 ? cos_sigma - 2.0 * sin_u1 * sin_u2 / cos_sq_alpha : 0.0;
    const double c = kFlattening / 16.0 * cos_sq_alpha * (4.0 + kFlattening * (4.0 - 3.0 * cos_sq_alpha));
    const double previous = lambda;
    lambda =
        l + (1.0 - c) * kFlattening * sin_alpha *
                (sigma + c * sin_sigma * (cos_2sigma_m + c * cos_sigma * (-1.0 + 2.0 * cos_2sigma_m * cos_2sigma_m)));
    if (std::fabs(lambda - previous) <= kConvergence) break;
  }

  const double u_sq = cos_sq_alpha * kSecondEccentricitySquared;
  const double big_a = 1.0 + u_sq / 16384.0 * (4096.0 + u_sq * (-768.0 + u_sq * (320.0 - 175.0 * u_sq)));
  const double big_b = u_sq / 1024.0 * (256.0 + u_sq * (-128.0 + u_sq * (74.0 - 47.0 * u_sq)));
  const double delta_sigma = big_b * sin_sigma *
                             (cos_2sigma_m + big_b / 4.0 *
                                                 (cos_sigma * (-1.0 + 2.0 * cos_2sigma_m * cos_2sigma_m) -
                                                  big_b / 6.0 * cos_2sigma_m * (-3.0 + 4.0 * sin_sigma * sin_sigma) *
                                                      (-3.0 + 4.0 * cos_2sigma_m * cos_2sigma_m)));
  return kMinorAxis * big_a * (sigma - delta_sigma);
}

}  // namespace tracker
