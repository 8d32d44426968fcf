#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tracker {

// Row kinds of the trip list.
enum class RowType : std::int32_t {
  kParking = -1,
  kDay = 0,
  kDrive = 1,
};

// One row of the trip list. The layout is stored byte for byte in trip database files, so
// field order and widths must not change. Texts are NUL-terminated.
struct TripRecord {
  char start_date[16];  // local date of the first point, YYYYMMDD
  char start_time[16];  // local time of the first point, hhmmss
  char driver[32];
  char purpose[128];
  char comments[128];
  double distance;            // sum of central angles, radians
  std::int32_t total_time;    // seconds
  std::int32_t stop_time;     // seconds of pairs that did not move
  std::int32_t parking_time;  // parking row: its length; day row: its parking rows; drive row: 0
  double speed_sum;           // knots, over moving pairs
  double max_speed;           // knots, over moving pairs
  std::int32_t point_count;
  std::int32_t first_point;  // index into the point store
  RowType type;
  std::int32_t row_index;  // position in the row table
};

static_assert(sizeof(TripRecord) == 376);
static_assert(offsetof(TripRecord, start_time) == 16);
static_assert(offsetof(TripRecord, driver) == 32);
static_assert(offsetof(TripRecord, purpose) == 64);
static_assert(offsetof(TripRecord, comments) == 192);
static_assert(offsetof(TripRecord, distance) == 320);
static_assert(offsetof(TripRecord, total_time) == 328);
static_assert(offsetof(TripRecord, stop_time) == 332);
static_assert(offsetof(TripRecord, parking_time) == 336);
static_assert(offsetof(TripRecord, speed_sum) == 344);
static_assert(offsetof(TripRecord, max_speed) == 352);
static_assert(offsetof(TripRecord, point_count) == 360);
static_assert(offsetof(TripRecord, first_point) == 364);
static_assert(offsetof(TripRecord, type) == 368);
static_assert(offsetof(TripRecord, row_index) == 372);

// The rows of the open folder or file, in the order they were built.
using RowTable = std::vector<TripRecord>;

}  // namespace tracker
