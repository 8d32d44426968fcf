#include "tracker/log/row_statistics.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

#include "tracker/log/field_text.h"
#include "tracker/log/great_circle_angle.h"
#include "tracker/log/local_time.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

std::int64_t SecondOfDay(std::int32_t time_number) {
  return std::int64_t{time_number / 10000} * 3600 + (time_number / 100) % 100 * 60 + time_number % 100;
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void ClearStatistics(TripRecord& row) {
  row.distance = 0.0;
  row.total_time = 0;
  row.stop_time = 0;
  row.parking_time = 0;
  row.speed_sum = 0.0;
  row.max_speed = 0.0;
}

void ParkingStatistics(TripRecord& row, const PointStore& points, std::int64_t offset_seconds) {
  const TrackPoint& from = points[static_cast<std::size_t>(row.first_point)];
  const TrackPoint& to = points[static_cast<std::size_t>(row.first_point) + 1];
  const LocalTime start = ToLocalTime(from.date_number, from.time_number, offset_seconds);
  const LocalTime end = ToLocalTime(to.date_number, to.time_number, offset_seconds);
  std::int64_t end_seconds = end.seconds;
  if (start.year != end.year || start.month != end.month || start.day != end.day) {
    // A stop over midnight counts until the end of its first day.
    end_seconds = start.seconds - (start.hour * 3600 + start.minute * 60 + start.second) + 86399;
  }
  row.parking_time = ClampToInt32(end_seconds - start.seconds);
}

void DrivingStatistics(TripRecord& row, const PointStore& points) {
  const std::size_t first = static_cast<std::size_t>(row.first_point);
  const std::size_t end = first + static_cast<std::size_t>(row.point_count);
  std::int64_t total = 0;
  std::int64_t stopped = 0;
  for (std::size_t i = first; i + 1 < end; ++i) {
    const TrackPoint& a = points[i];
    const TrackPoint& b = points[i + 1];
    const std::int64_t delta = std::max<std::int64_t>(0, SecondOfDay(b.time_number) - SecondOfDay(a.time_number));
    if (delta > kLongestCountedGap) continue;
    total += delta;
    const double angle = GreatCircleAngle(FieldText(a.latitude), FieldText(a.longitude),
                                          FieldText(b.latitude), FieldText(b.longitude));
    if (angle == 0.0) {
      stopped += delta;
    } else {
      row.distance += angle;
      const double speed = TextToDouble(FieldText(a.speed));
      row.speed_sum += speed;
      row.max_speed = std::max(row.max_speed, speed);
    }
  }
  row.total_time = ClampToInt32(total);
  row.stop_time = ClampToInt32(stopped);
}

}  // namespace

void ComputeRowStatistics(TripRecord& row, const PointStore& points, std::int64_t offset_seconds) {
  ClearStatistics(row);
  const std::int64_t first = row.first_point;
  const std::int64_t count = row.point_count;
  if (first < 0 || count < 0 || first + count > static_cast<std::int64_t>(points.size())) return;
  if (row.type == RowType::kParking) {
    if (count >= 2) ParkingStatistics(row, points, offset_seconds);
  } else {
    DrivingStatistics(row, points);
  }
}

void SumParkingIntoDays(RowTable& rows) {
  // Day rows come before every parking row in the table, so "later rows" are all of them;
  // summing by date keeps this linear where a pairwise walk would be quadratic.
  std::unordered_map<std::string, std::int64_t> parking_by_date;
  for (std::size_t i = rows.size(); i-- > 0;) {
    TripRecord& row = rows[i];
    const std::string date(FieldText(row.start_date));
    if (row.type == RowType::kParking) {
      parking_by_date[date] += row.parking_time;
    } else if (row.type == RowType::kDay) {
      const auto it = parking_by_date.find(date);
      row.parking_time = it == parking_by_date.end() ? 0 : ClampToInt32(it->second);
    }
  }
}

}  // namespace tracker
