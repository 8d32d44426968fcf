#include "tracker/app/rules/row_display.h"

#include <cmath>
#include <cstdio>

namespace tracker {

namespace {

std::string Fixed2(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

std::string DurationText(std::int64_t seconds) {
  const long long hours = seconds / 3600;
  const long long minutes = seconds / 60 % 60;
  char text[64];
  std::snprintf(text, sizeof text, "%lld%lld:%lld%lld:%02lld", hours / 10, hours % 10, minutes / 10, minutes % 10,
                static_cast<long long>(seconds % 60));
  return text;
}

std::string ParkingDurationText(std::int64_t seconds) {
  if (seconds < 86400) return DurationText(seconds);
  return "(" + std::to_string(seconds / 86400) + ")  " + DurationText(seconds % 86400);
}

RowDisplay DisplayValues(const TripRecord& row) {
  RowDisplay shown;
  shown.distance_km = Fixed2(row.distance * kKilometresPerRadian);
  shown.distance_miles = Fixed2(row.distance * kMilesPerRadian);

  // A row that never moved has no average, not a division by zero.
  const double moving = static_cast<double>(row.total_time) - static_cast<double>(row.stop_time);
  const bool has_average = row.type != RowType::kParking && moving != 0.0;
  shown.average_kmh = Fixed2(has_average ? row.speed_sum * kKmhPerKnot / moving : 0.0);
  shown.average_mph = Fixed2(has_average ? row.speed_sum * kMphPerKnot / std::fabs(moving) : 0.0);

  shown.max_kmh = Fixed2(row.max_speed * kKmhPerKnot);
  shown.max_mph = Fixed2(row.max_speed * kMphPerKnot);
  shown.driving_time = DurationText(row.total_time);
  shown.parking_duration = row.type == RowType::kDrive ? DurationText(0) : ParkingDurationText(row.parking_time);
  return shown;
}

}  // namespace tracker
