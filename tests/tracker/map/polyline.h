#pragma once

#include <string_view>
#include <vector>

#include "tracker/log/route_encoding.h"

namespace tracker {

// Reads back a path in the encoded polyline format (five decimals): the points a map page
// draws from `map_path`, for checking the encoder. A cut-off text gives the points that were
// complete.
std::vector<RoutePoint> DecodePolyline(std::string_view path);

}  // namespace tracker
