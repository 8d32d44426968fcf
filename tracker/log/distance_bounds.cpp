#include "tracker/log/distance_bounds.h"

#include <algorithm>
#include <cmath>

namespace tracker {

namespace {

constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;
// WGS-84, as Vincenty's formula takes it.
constexpr double kMajorAxis = 6378137.0;
constexpr double kMinorAxis = 6356752.3142;
constexpr double kFlattening = 0.0033528106647474805;
constexpr double kEccentricitySquared = kFlattening * (2.0 - kFlattening);
// The ellipsoid bends most along the meridian at the equator (radius b²/a); no path on it
// bends more.
constexpr double kLargestCurvature = kMajorAxis / (kMinorAxis * kMinorAxis);
constexpr double kLongestLine = 100000.0;
constexpr double kLatitudeLimit = 89.9;
// Vincenty's formula is good to a fraction of a millimetre at these lengths and the rounding
// here is far smaller still: the margins are generous so that no doubt is ever resolved wrongly.
constexpr double kAbsoluteMargin = 0.001;
constexpr double kRelativeMargin = 1e-7;

}  // namespace

SpacePoint MakeSpacePoint(double latitude, double longitude) {
  const double phi = latitude * kRadiansPerDegree;
  const double sin_phi = std::sin(phi);
  const double cos_phi = std::cos(phi);
  const double normal = kMajorAxis / std::sqrt(1.0 - kEccentricitySquared * sin_phi * sin_phi);
  return {normal * cos_phi, normal * (1.0 - kEccentricitySquared) * sin_phi, longitude * kRadiansPerDegree};
}

std::optional<double> StraightLine(double latitude1, double longitude1, const SpacePoint& from, double latitude2,
                                   double longitude2, const SpacePoint& to) {
  // Written so that NaN fails too.
  const bool ordinary = std::fabs(latitude1) <= kLatitudeLimit && std::fabs(latitude2) <= kLatitudeLimit &&
                        std::fabs(longitude1) <= 360.0 && std::fabs(longitude2) <= 360.0 &&
                        std::fabs(longitude2 - longitude1) <= 180.0;
  if (!ordinary) return std::nullopt;
  // Two circles about the axis: |p - q|² = (r - s)² + 4 r s sin²(Δλ / 2) + (z - w)². Fixes are
  // mostly close, where a short series gives the sine to far better than a millimetre.
  const double x = (to.longitude - from.longitude) / 2.0;
  const double sine = std::fabs(x) <= 0.01 ? x * (1.0 - x * x / 6.0 * (1.0 - x * x / 20.0)) : std::sin(x);
  const double dr = to.radius - from.radius;
  const double dz = to.height - from.height;
  const double line = std::sqrt(dr * dr + 4.0 * from.radius * to.radius * sine * sine + dz * dz);
  if (!(line <= kLongestLine)) return std::nullopt;
  return line;
}

DistanceBounds BoundDistance(double line) {
  // A path of length s that bends by at most k per metre spans a chord of at least
  // (2/k) sin(sk/2), so s <= (2/k) asin(ck/2), which is below c (1 + (ck)²/20) at these lengths.
  const double bend = line * kLargestCurvature;
  return {std::max(0.0, line * (1.0 - kRelativeMargin) - kAbsoluteMargin),
          line * (1.0 + bend * bend / 20.0 + kRelativeMargin) + kAbsoluteMargin};
}

}  // namespace tracker
