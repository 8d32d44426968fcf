#pragma once

#include <optional>

namespace tracker {

// A fix as a point in space (earth-centred, WGS-84), for the straight line between two fixes:
// its distance from the axis and its height above the equator's plane in metres, and its
// longitude. The line's length only depends on the difference of longitudes.
struct SpacePoint {
  double radius = 0.0;
  double height = 0.0;
  double longitude = 0.0;  // radians
};

SpacePoint MakeSpacePoint(double latitude, double longitude);

// Where Vincenty's distance between two nearby fixes lies, known without its iterations.
struct DistanceBounds {
  double low = 0.0;
  double high = 0.0;
};

// The straight line in metres between two different fixes when it tells where Vincenty's
// distance lies: fixes less than 100 km apart on the same side of the antimeridian and away
// from the poles. Nothing for any other pair (measure it exactly).
std::optional<double> StraightLine(double latitude1, double longitude1, const SpacePoint& from, double latitude2,
                                   double longitude2, const SpacePoint& to);

// Bounds on GeodesicDistance for a pair whose StraightLine is `line`: the path on the ellipsoid
// is never shorter than the line, and no more longer than its curvature allows.
DistanceBounds BoundDistance(double line);

}  // namespace tracker
