#include "tracker/log/route_encoding.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tracker/log/field_text.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

constexpr int kParkingRoutePoints = 4;

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

// Degrees × 100000, cut toward zero; clamped so that a damaged coordinate text cannot
// overflow the conversion.
std::int64_t FifthDecimals(double degrees) {
  const double scaled = degrees * 100000.0;
  if (!(std::fabs(scaled) < 1e15)) return 0;
  return static_cast<std::int64_t>(scaled);
}

}  // namespace

double SegmentDistance(RoutePoint p, RoutePoint a, RoutePoint b) {
  const double dx = b.latitude - a.latitude;
  const double dy = b.longitude - a.longitude;
  if (dx == 0.0 && dy == 0.0) return Length(p.latitude - a.latitude, p.longitude - a.longitude);
  const double u = ((p.latitude - a.latitude) * dx + (p.longitude - a.longitude) * dy) / (dx * dx + dy * dy);
  if (u <= 0.0) return Length(p.latitude - a.latitude, p.longitude - a.longitude);
  if (u >= 1.0) return Length(p.latitude - b.latitude, p.longitude - b.longitude);
  return Length(p.latitude - (a.latitude + u * dx), p.longitude - (a.longitude + u * dy));
}

std::vector<double> ThinningDistances(std::span<const RoutePoint> points) {
  std::vector<double> distances(points.size(), 0.0);
  if (points.size() <= 2) return distances;
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, points.size() - 1}};
  while (!stack.empty()) {
    const auto [first, last] = stack.back();
    double largest = 0.0;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
      const double distance = SegmentDistance(points[i], points[first], points[last]);
      if (distance > largest) {
        largest = distance;
        at = i;
      }
    }
    if (largest > kThinningThreshold) {
      distances[at] = largest;
      stack.back() = {first, at};
      stack.emplace_back(at, last);
    } else {
      stack.pop_back();
    }
  }
  return distances;
}

double LevelBreak(int index) { return kThinningThreshold * std::ldexp(1.0, kZoomLevels - 1 - index); }

char LevelCharacter(double distance) {
  int level = 0;
  if (distance > kThinningThreshold) {
    while (level < kZoomLevels - 1 && distance < LevelBreak(level)) ++level;
  }
  return static_cast<char>(63 + (kZoomLevels - 1 - level));
}

void AppendEncodedNumber(std::string& out, std::int64_t value) {
  auto bits = static_cast<std::uint64_t>(value) << 1;
  if (value < 0) bits = ~bits;
  while (bits >= 32) {
    out += static_cast<char>((bits & 31) + 95);
    bits >>= 5;
  }
  out += static_cast<char>(bits + 63);
}

EncodedRoute EncodeRoute(std::span<const RoutePoint> points, bool thin) {
  EncodedRoute route;
  if (points.empty()) return route;
  const std::vector<double> distances = thin ? ThinningDistances(points) : std::vector<double>(points.size(), 1.0);
  std::int64_t previous_latitude = 0;
  std::int64_t previous_longitude = 0;
  const std::size_t last = points.size() - 1;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (distances[i] == 0.0 && i != 0 && i != last) continue;
    const std::int64_t latitude = FifthDecimals(points[i].latitude);
    const std::int64_t longitude = FifthDecimals(points[i].longitude);
    AppendEncodedNumber(route.path, latitude - previous_latitude);
    AppendEncodedNumber(route.path, longitude - previous_longitude);
    previous_latitude = latitude;
    previous_longitude = longitude;
    if (!thin) continue;
    if (i == 0 || i == last) {
      route.levels += static_cast<char>(63 + kZoomLevels - 1);
    } else {
      route.levels += LevelCharacter(distances[i]);
    }
  }
  return route;
}

std::vector<RoutePoint> RowRoutePoints(const TripRecord& row, const PointStore& points) {
  const std::int64_t first = row.first_point;
  std::int64_t count = row.type == RowType::kParking ? kParkingRoutePoints : row.point_count;
  const auto stored = static_cast<std::int64_t>(points.size());
  if (first < 0 || first >= stored || count <= 0) return {};
  count = std::min(count, stored - first);
  std::vector<RoutePoint> route;
  route.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = first; i < first + count; ++i) {
    const TrackPoint& point = points[static_cast<std::size_t>(i)];
    route.push_back({TextToDouble(FieldText(point.latitude)), TextToDouble(FieldText(point.longitude))});
  }
  return route;
}

EncodedRoute EncodeRowRoute(const TripRecord& row, const PointStore& points, bool thin) {
  const std::vector<RoutePoint> route = RowRoutePoints(row, points);
  return EncodeRoute(route, thin);
}

}  // namespace tracker
