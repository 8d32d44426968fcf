#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tracker/log/point_allocator.h"

namespace tracker {

// One GPS fix. The layout is stored byte for byte in trip database files, so field order and
// widths must not change. Texts are NUL-terminated.
struct TrackPoint {
  char latitude[10];   // decimal degrees, "%.6f" cut to 8 characters
  char longitude[11];  // decimal degrees, "%.6f" cut to 9 characters
  char date[9];        // YYYYMMDD, UTC
  char time[7];        // hhmmss, UTC
  char reserved[2];
  char speed[9];             // knots, as the sentence wrote it
  std::int32_t date_number;  // YYYYMMDD as a decimal number
  std::int32_t time_number;  // hhmmss as a decimal number
};

static_assert(sizeof(TrackPoint) == 56);
static_assert(offsetof(TrackPoint, longitude) == 10);
static_assert(offsetof(TrackPoint, date) == 21);
static_assert(offsetof(TrackPoint, time) == 30);
static_assert(offsetof(TrackPoint, reserved) == 37);
static_assert(offsetof(TrackPoint, speed) == 39);
static_assert(offsetof(TrackPoint, date_number) == 48);
static_assert(offsetof(TrackPoint, time_number) == 52);

// The point store: every fix of the open folder or trip database, in one contiguous array.
using PointStore = std::vector<TrackPoint, PointAllocator<TrackPoint>>;

}  // namespace tracker
