#include "tracker/log/row_statistics.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "common/hhmmss.h"
#include "tracker/log/field_text.h"
#include "tracker/log/great_circle_angle.h"
#include "tracker/log/local_time.h"
#include "tracker/log/parallel_shares.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
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

// Running sums of a day or drive row.
struct RowSums {
  std::int64_t total = 0;
  std::int64_t stopped = 0;
  double distance = 0.0;
  double speed_sum = 0.0;
  double max_speed = 0.0;

  // A pair more than 599 s apart (UTC time of day) counts for nothing; one that did not move
  // counts as stopped; one that moved adds its angle and its first fix's speed.
  // `speed` is the first fix's speed, read only for a pair that moved.
  void AddPair(std::int64_t delta, double angle, double speed) {
    total += delta;
    if (angle == 0.0) {
      stopped += delta;
    } else {
      distance += angle;
      speed_sum += speed;
      max_speed = std::max(max_speed, speed);
    }
  }

  void StoreIn(TripRecord& row) const {
    row.total_time = ClampToInt32(total);
    row.stop_time = ClampToInt32(stopped);
    row.distance = distance;
    row.speed_sum = speed_sum;
    row.max_speed = max_speed;
  }
};

// Seconds from one fix to the next, 0 when the second is earlier.
std::int64_t PairSeconds(const TrackPoint& a, const TrackPoint& b) {
  // On one UTC date the times of day suffice. A pair over UTC midnight takes its true gap:
  // by the times of day alone a long stop there would read as 0 s and be summed as driving.
  const std::int64_t delta = a.date_number == b.date_number
                                 ? common::HhmmssSeconds(b.time_number) - common::HhmmssSeconds(a.time_number)
                                 : UtcSeconds(b.date_number, b.time_number) - UtcSeconds(a.date_number, a.time_number);
  return std::max<std::int64_t>(0, delta);
}

double SpeedOf(const TrackPoint& point) { return FieldToDouble(point.speed); }

AnglePoint AnglePointOf(const TrackPoint& point) {
  return MakeAnglePoint(FieldToDouble(point.latitude), FieldToDouble(point.longitude));
}

void DrivingStatistics(TripRecord& row, const PointStore& points) {
  const std::size_t first = static_cast<std::size_t>(row.first_point);
  const std::size_t end = first + static_cast<std::size_t>(row.point_count);
  RowSums sums;
  for (std::size_t i = first; i + 1 < end; ++i) {
    const std::int64_t delta = PairSeconds(points[i], points[i + 1]);
    if (delta > kLongestCountedGap) continue;
    const double angle = GreatCircleAngle(AnglePointOf(points[i]), AnglePointOf(points[i + 1]));
    sums.AddPair(delta, angle, angle == 0.0 ? 0.0 : SpeedOf(points[i]));
  }
  sums.StoreIn(row);
}

bool InStore(const TripRecord& row, const PointStore& points) {
  const std::int64_t first = row.first_point;
  const std::int64_t count = row.point_count;
  return first >= 0 && count >= 0 && first + count <= static_cast<std::int64_t>(points.size());
}

// Rows of one kind that cover the points in consecutive, non-overlapping runs, as the trip
// builder makes them; their pairs can then be summed in a single walk.
bool Consecutive(const RowTable& rows, const std::vector<std::size_t>& kind, const PointStore& points) {
  std::int64_t next = 0;
  for (std::size_t index : kind) {
    const TripRecord& row = rows[index];
    if (!InStore(row, points) || row.point_count == 0 || row.first_point < next) return false;
    next = std::int64_t{row.first_point} + row.point_count;
  }
  return true;
}

std::size_t LastPoint(const TripRecord& row) {
  return static_cast<std::size_t>(row.first_point) + static_cast<std::size_t>(row.point_count) - 1;
}

// Sums pairs [first, last) into the day and drive rows (of consecutive runs, sorted by first
// point) that hold them. False when cancelled.
bool SumPairs(const RowTable& rows, const std::vector<std::size_t>& days, const std::vector<std::size_t>& drives,
              const PointStore& points, std::size_t first, std::size_t last, std::vector<RowSums>& day_sums,
              std::vector<RowSums>& drive_sums, const std::atomic<bool>& cancel) {
  if (first >= last) return true;
  // The first row of each kind that ends after the first pair's first fix.
  const auto first_row = [&](const std::vector<std::size_t>& kind) {
    return static_cast<std::size_t>(
        std::partition_point(kind.begin(), kind.end(),
                             [&](std::size_t index) { return LastPoint(rows[index]) < first + 1; }) -
        kind.begin());
  };
  std::size_t day = first_row(days);
  std::size_t drive = first_row(drives);
  AnglePoint current = AnglePointOf(points[first]);
  for (std::size_t i = first; i < last; ++i) {
    if ((i & 4095) == 0 && cancel.load(std::memory_order_relaxed)) return false;
    while (day < days.size() && LastPoint(rows[days[day]]) < i + 1) ++day;
    while (drive < drives.size() && LastPoint(rows[drives[drive]]) < i + 1) ++drive;
    const AnglePoint next = AnglePointOf(points[i + 1]);
    const bool in_day = day < days.size() && static_cast<std::size_t>(rows[days[day]].first_point) <= i;
    const bool in_drive = drive < drives.size() && static_cast<std::size_t>(rows[drives[drive]].first_point) <= i;
    if (in_day || in_drive) {
      const std::int64_t delta = PairSeconds(points[i], points[i + 1]);
      if (delta <= kLongestCountedGap) {
        const double angle = GreatCircleAngle(current, next);
        const double speed = angle == 0.0 ? 0.0 : SpeedOf(points[i]);
        if (in_day) day_sums[day].AddPair(delta, angle, speed);
        if (in_drive) drive_sums[drive].AddPair(delta, angle, speed);
      }
    }
    current = next;
  }
  return true;
}

// Where the walk over pairs [0, pair_count) may be cut: 0, pair_count, and between them one
// pair index per further core, as near equal parts as the rows allow, at which no day or drive
// row holds both the pair before and the pair after (a day's first fix, not inside a drive).
std::vector<std::size_t> FreeCuts(const RowTable& rows, const std::vector<std::size_t>& days,
                                  const std::vector<std::size_t>& drives, std::size_t pair_count) {
  std::vector<std::size_t> free;
  std::size_t drive = 0;
  for (std::size_t index : days) {
    const std::size_t cut = static_cast<std::size_t>(rows[index].first_point);
    if (cut == 0 || cut >= pair_count) continue;
    // A drive holding fixes on both sides of the cut would be summed in two parts.
    while (drive < drives.size() && LastPoint(rows[drives[drive]]) < cut) ++drive;
    if (drive < drives.size() && static_cast<std::size_t>(rows[drives[drive]].first_point) < cut) continue;
    free.push_back(cut);
  }
  std::vector<std::size_t> cuts = {0};
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  for (std::size_t part = 1; part < cores && !free.empty(); ++part) {
    const std::size_t wanted = pair_count / cores * part;
    auto nearest = std::lower_bound(free.begin(), free.end(), wanted);
    if (nearest == free.end() || (nearest != free.begin() && wanted - *(nearest - 1) < *nearest - wanted)) --nearest;
    if (*nearest > cuts.back()) cuts.push_back(*nearest);
  }
  cuts.push_back(pair_count);
  return cuts;
}

}  // namespace

void ComputeRowStatistics(TripRecord& row, const PointStore& points, std::int64_t offset_seconds) {
  ClearStatistics(row);
  if (!InStore(row, points)) return;
  if (row.type == RowType::kParking) {
    if (row.point_count >= 2) ParkingStatistics(row, points, offset_seconds);
  } else {
    DrivingStatistics(row, points);
  }
}

bool ComputeAllRowStatistics(RowTable& rows, const PointStore& points, std::int64_t offset_seconds,
                             const std::atomic<bool>& cancel) {
  std::vector<std::size_t> days;
  std::vector<std::size_t> drives;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].type == RowType::kDay) {
      days.push_back(i);
    } else if (rows[i].type == RowType::kDrive) {
      drives.push_back(i);
    } else {
      ComputeRowStatistics(rows[i], points, offset_seconds);
    }
  }
  const auto by_first_point = [&](std::size_t a, std::size_t b) { return rows[a].first_point < rows[b].first_point; };
  std::sort(days.begin(), days.end(), by_first_point);
  std::sort(drives.begin(), drives.end(), by_first_point);
  if (!Consecutive(rows, days, points) || !Consecutive(rows, drives, points)) {
    for (std::size_t index : days) ComputeRowStatistics(rows[index], points, offset_seconds);
    for (std::size_t index : drives) ComputeRowStatistics(rows[index], points, offset_seconds);
    return !cancel.load(std::memory_order_relaxed);
  }

  // Every pair lies in at most one day row and one drive row: work each pair out once and
  // add it to both, as the row-by-row sums would. The walk is cut where no row spans the cut,
  // so each part runs on a core of its own and every row is still summed in point order.
  std::vector<RowSums> day_sums(days.size());
  std::vector<RowSums> drive_sums(drives.size());
  const std::size_t pair_count = points.empty() ? 0 : points.size() - 1;
  const std::vector<std::size_t> cuts = FreeCuts(rows, days, drives, pair_count);
  std::atomic<bool> stopped{false};
  ForEachShare(cuts.size() - 1, 1, [&](std::size_t first, std::size_t last) {
    for (std::size_t part = first; part < last; ++part) {
      if (!SumPairs(rows, days, drives, points, cuts[part], cuts[part + 1], day_sums, drive_sums, cancel)) {
        stopped = true;
      }
    }
  });
  if (stopped) return false;
  for (std::size_t k = 0; k < days.size(); ++k) {
    ClearStatistics(rows[days[k]]);
    day_sums[k].StoreIn(rows[days[k]]);
  }
  for (std::size_t k = 0; k < drives.size(); ++k) {
    ClearStatistics(rows[drives[k]]);
    drive_sums[k].StoreIn(rows[drives[k]]);
  }
  return true;
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
