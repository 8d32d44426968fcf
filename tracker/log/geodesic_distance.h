#pragma once

namespace tracker {

// Distance in metres between two points (degrees) on the WGS-84 ellipsoid, by Vincenty's
// inverse formula. Coincident points give 0.
double GeodesicDistance(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace tracker
