#include "tests/tracker/map/polyline.h"

#include <cstdint>
#include <optional>

namespace tracker {

namespace {

// One signed number; none when the text ends inside it.
std::optional<std::int64_t> NextNumber(std::string_view path, std::size_t& at) {
  std::uint64_t value = 0;
  int shift = 0;
  while (at < path.size() && shift < 64) {
    const int chunk = static_cast<unsigned char>(path[at++]) - 63;
    if (chunk < 0) return std::nullopt;
    value |= static_cast<std::uint64_t>(chunk & 31) << shift;
    shift += 5;
    if (chunk < 32) {
      const auto half = static_cast<std::int64_t>(value >> 1);
      return (value & 1) != 0 ? ~half : half;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<RoutePoint> DecodePolyline(std::string_view path) {
  std::vector<RoutePoint> points;
  std::int64_t latitude = 0;
  std::int64_t longitude = 0;
  std::size_t at = 0;
  while (at < path.size()) {
    const std::optional<std::int64_t> d_latitude = NextNumber(path, at);
    const std::optional<std::int64_t> d_longitude = d_latitude ? NextNumber(path, at) : std::nullopt;
    if (!d_longitude) break;
    latitude += *d_latitude;
    longitude += *d_longitude;
    points.push_back({static_cast<double>(latitude) / 1e5, static_cast<double>(longitude) / 1e5});
  }
  return points;
}

}  // namespace tracker
