#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tracker/log/track_point.h"
#include "tracker/log/trip_record.h"

namespace tracker {

// Thinning threshold in degrees, and the zoom levels of the levels text.
inline constexpr double kThinningThreshold = 1e-5;
inline constexpr int kZoomLevels = 18;

// A point of a route in degrees: x is the latitude, y the longitude.
struct RoutePoint {
  double latitude = 0.0;
  double longitude = 0.0;
};

// Planar distance in degrees from `p` to the segment from `a` to `b`.
double SegmentDistance(RoutePoint p, RoutePoint a, RoutePoint b);

// Douglas-Peucker: for each point, the distance at which it was kept (0 when it was not).
// The first and last points stay 0; they are always kept.
std::vector<double> ThinningDistances(std::span<const RoutePoint> points);

// B[i] = 1e-5 * 2^(17 - i) for i = 0..17.
double LevelBreak(int index);

// The zoom-level character of a kept point's distance: 'P' at or above B[0] down to '?'.
char LevelCharacter(double distance);

// A signed number in the encoded polyline format of web map services.
void AppendEncodedNumber(std::string& out, std::int64_t value);

struct EncodedRoute {
  std::string path;    // `map_path`
  std::string levels;  // `map_levels`, one character per encoded point; empty without thinning
};

// Encodes `points` with thinning and levels, or every point without either.
EncodedRoute EncodeRoute(std::span<const RoutePoint> points, bool thin);

// The points a row hands to the map: its own, except that a parking row shows four (its two
// and the two after them), or as many of those as the store has.
std::vector<RoutePoint> RowRoutePoints(const TripRecord& row, const PointStore& points);

// A row's route, thinned with levels or every point without them (the build decides).
EncodedRoute EncodeRowRoute(const TripRecord& row, const PointStore& points, bool thin);

}  // namespace tracker
