#pragma once

namespace tracker {

// A point prepared for Vincenty's formula: its reduced latitude is worked out once, since
// each fix takes part in two pairs.
struct GeodesicPoint {
  double longitude = 0.0;  // radians
  double sin_u = 0.0;
  double cos_u = 1.0;
};

GeodesicPoint MakeGeodesicPoint(double latitude, double longitude);

// Distance in metres between two points on the WGS-84 ellipsoid, by Vincenty's inverse
// formula. Coincident points give 0.
double GeodesicDistance(const GeodesicPoint& from, const GeodesicPoint& to);
double GeodesicDistance(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace tracker
