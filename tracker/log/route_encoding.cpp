#include "tracker/log/route_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <tuple>
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

namespace {

// Finds, for a chord, the point of a stretch of the route farthest from it, without looking at
// every point: the distance to a segment is a convex function of the point, so over any set of
// points it is largest at a corner of their convex hull. A tree over the route keeps the hull
// of each stretch; a search takes the largest value over the hulls that cover the stretch, then
// walks down to the first point that reaches it (the first maximum, as a plain scan finds it).
// A long zig-zag, where every split peels off one point, costs a few hull corners per level
// instead of the whole rest of the route.
class FarthestPointTree {
 public:
  explicit FarthestPointTree(std::span<const RoutePoint> points) : points_(points) {
    blocks_ = (points.size() + kBlock - 1) / kBlock;
    std::size_t size = 1;
    while (size < blocks_) size *= 2;
    leaves_ = size;
    hulls_.resize(2 * size);
    for (std::size_t b = 0; b < blocks_; ++b) {
      std::vector<std::uint32_t> block;
      for (std::size_t i = b * kBlock; i < std::min(points.size(), (b + 1) * kBlock); ++i)
        block.push_back(static_cast<std::uint32_t>(i));
      hulls_[size + b] = Hull(std::move(block));
    }
    for (std::size_t node = size - 1; node >= 1; --node) {
      std::vector<std::uint32_t> both = hulls_[2 * node];
      both.insert(both.end(), hulls_[2 * node + 1].begin(), hulls_[2 * node + 1].end());
      hulls_[node] = Hull(std::move(both));
    }
  }

  // The first point of [lo, hi] farthest from the segment a-b, and its distance.
  std::pair<std::size_t, double> Farthest(std::size_t lo, std::size_t hi, RoutePoint a, RoutePoint b) const {
    const Query q{lo, hi, a, b};
    const double largest = Largest(q, 1, 0, leaves_ * kBlock - 1);
    const std::size_t at = First(q, largest, 1, 0, leaves_ * kBlock - 1).value_or(lo);
    return {at, largest};
  }

 private:
  static constexpr std::size_t kBlock = 16;
  struct Query {
    std::size_t lo, hi;
    RoutePoint a, b;
  };

  double Distance(std::size_t i, const Query& q) const { return SegmentDistance(points_[i], q.a, q.b); }

  // Indices of the hull's corners (Andrew's monotone chain; points on an edge are left out).
  std::vector<std::uint32_t> Hull(std::vector<std::uint32_t> indices) const {
    const auto less = [this](std::uint32_t x, std::uint32_t y) {
      const RoutePoint& p = points_[x];
      const RoutePoint& r = points_[y];
      return std::tie(p.latitude, p.longitude, x) < std::tie(r.latitude, r.longitude, y);
    };
    std::sort(indices.begin(), indices.end(), less);
    if (indices.size() <= 2) return indices;
    const auto cross = [this](std::uint32_t o, std::uint32_t a, std::uint32_t b) {
      const RoutePoint& po = points_[o];
      const RoutePoint& pa = points_[a];
      const RoutePoint& pb = points_[b];
      return (pa.latitude - po.latitude) * (pb.longitude - po.longitude) -
             (pa.longitude - po.longitude) * (pb.latitude - po.latitude);
    };
    std::vector<std::uint32_t> hull(2 * indices.size());
    std::size_t k = 0;
    for (const std::uint32_t i : indices) {
      while (k >= 2 && cross(hull[k - 2], hull[k - 1], i) <= 0) --k;
      hull[k++] = i;
    }
    for (std::size_t n = indices.size() - 1, lower = k + 1; n-- > 0;) {
      const std::uint32_t i = indices[n];
      while (k >= lower && cross(hull[k - 2], hull[k - 1], i) <= 0) --k;
      hull[k++] = i;
    }
    hull.resize(k - 1);
    return hull;
  }

  double HullLargest(std::size_t node, const Query& q) const {
    double largest = -1.0;
    for (const std::uint32_t i : hulls_[node]) largest = std::max(largest, Distance(i, q));
    return largest;
  }

  bool IsLeaf(std::size_t node) const { return node >= leaves_; }

  double Largest(const Query& q, std::size_t node, std::size_t from, std::size_t to) const {
    if (to < q.lo || from > q.hi || from >= points_.size()) return -1.0;
    if (q.lo <= from && to <= q.hi) return HullLargest(node, q);
    if (IsLeaf(node)) {
      double largest = -1.0;
      for (std::size_t i = std::max(from, q.lo); i <= std::min({to, q.hi, points_.size() - 1}); ++i)
        largest = std::max(largest, Distance(i, q));
      return largest;
    }
    const std::size_t middle = from + (to - from) / 2;
    return std::max(Largest(q, 2 * node, from, middle), Largest(q, 2 * node + 1, middle + 1, to));
  }

  std::optional<std::size_t> First(const Query& q, double value, std::size_t node, std::size_t from,
                                   std::size_t to) const {
    if (to < q.lo || from > q.hi || from >= points_.size()) return std::nullopt;
    if (q.lo <= from && to <= q.hi && HullLargest(node, q) < value) return std::nullopt;
    if (IsLeaf(node)) {
      for (std::size_t i = std::max(from, q.lo); i <= std::min({to, q.hi, points_.size() - 1}); ++i) {
        if (Distance(i, q) >= value) return i;
      }
      return std::nullopt;
    }
    const std::size_t middle = from + (to - from) / 2;
    if (auto found = First(q, value, 2 * node, from, middle)) return found;
    return First(q, value, 2 * node + 1, middle + 1, to);
  }

  std::span<const RoutePoint> points_;
  std::size_t blocks_ = 0;
  std::size_t leaves_ = 1;
  std::vector<std::vector<std::uint32_t>> hulls_;
};

}  // namespace

std::vector<double> ThinningDistances(std::span<const RoutePoint> points) {
  std::vector<double> distances(points.size(), 0.0);
  if (points.size() <= 2) return distances;
  // A coordinate that is not a number has no place in a hull; such a route is scanned plainly.
  const bool finite = std::all_of(points.begin(), points.end(), [](const RoutePoint& p) {
    return std::isfinite(p.latitude) && std::isfinite(p.longitude);
  });
  std::optional<FarthestPointTree> tree;
  if (finite) tree.emplace(points);
  const auto farthest = [&](std::size_t first, std::size_t last) -> std::pair<std::size_t, double> {
    if (tree) return tree->Farthest(first + 1, last - 1, points[first], points[last]);
    double largest = 0.0;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
      const double distance = SegmentDistance(points[i], points[first], points[last]);
      if (distance > largest) {
        largest = distance;
        at = i;
      }
    }
    return {at, largest};
  };
  std::vector<std::pair<std::size_t, std::size_t>> stack{{0, points.size() - 1}};
  while (!stack.empty()) {
    const auto [first, last] = stack.back();
    if (last - first < 2) {
      stack.pop_back();
      continue;
    }
    const auto [at, largest] = farthest(first, last);
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
    route.push_back({FieldToDouble(point.latitude), FieldToDouble(point.longitude)});
  }
  return route;
}

EncodedRoute EncodeRowRoute(const TripRecord& row, const PointStore& points, bool thin) {
  const std::vector<RoutePoint> route = RowRoutePoints(row, points);
  return EncodeRoute(route, thin);
}

}  // namespace tracker
