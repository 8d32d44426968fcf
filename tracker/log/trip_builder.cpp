#include "tracker/log/trip_builder.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
#include "tracker/log/parallel_shares.h"
#include "tracker/log/point_order.h"
#include "tracker/log/row_statistics.h"

namespace tracker {

namespace {

TripRecord OpenRow(RowType type, std::size_t first_point, const LocalTime& start) {
  TripRecord row;
  std::memset(&row, 0, sizeof row);
  row.type = type;
  row.first_point = static_cast<std::int32_t>(first_point);
  SetFieldText(row.start_date, DateText(start));
  SetFieldText(row.start_time, TimeText(start));
  return row;
}

// Where a new row starts: at fix `index`, a new drive (and a parking row before it) and, on a
// new local day, a new day row.
struct Cut {
  std::size_t index = 0;
  bool new_day = false;
  LocalTime previous;  // of fix index - 1
  LocalTime now;       // of fix index
};

// The cuts before the second fix of each pair in [first, last): a drive ends on a new local
// day or when the next fix comes 10 minutes or more after the last one.
std::vector<Cut> FindCuts(const PointStore& points, std::int64_t offset, std::size_t first, std::size_t last,
                          const std::atomic<bool>& cancel) {
  std::vector<Cut> cuts;
  LocalClock clock(offset);
  LocalTime previous = clock(points[first].date_number, points[first].time_number);
  for (std::size_t i = first + 1; i <= last; ++i) {
    if ((i & 4095) == 0 && cancel.load(std::memory_order_relaxed)) break;
    const LocalTime now = clock(points[i].date_number, points[i].time_number);
    // The whole date, not just the day of the month: fixes a month apart are different days.
    const bool new_day = now.day != previous.day || now.month != previous.month || now.year != previous.year;
    if (new_day || now.seconds >= previous.seconds + kParkingGapSeconds) cuts.push_back({i, new_day, previous, now});
    previous = now;
  }
  return cuts;
}

}  // namespace

std::optional<RowTable> CutRows(const PointStore& points, TimeZoneOffset zone, ScanHost& host) {
  if (points.empty()) return RowTable{};
  const std::int64_t offset = OffsetSeconds(zone, false);
  const std::atomic<bool>& cancel = host.CancelFlag();
  host.Progress(0, ScanPhase::kCutting);
  // Where rows start is found on every core; the rows are then made in point order.
  std::vector<std::pair<std::size_t, std::vector<Cut>>> parts;  // by first pair
  std::mutex parts_lock;
  ForEachShare(points.size() - 1, 65536, [&](std::size_t first, std::size_t last) {
    std::vector<Cut> cuts = FindCuts(points, offset, first, last, cancel);
    const std::lock_guard lock(parts_lock);
    parts.emplace_back(first, std::move(cuts));
  });
  if (cancel.load(std::memory_order_relaxed)) return std::nullopt;
  std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  host.Progress(50, ScanPhase::kCutting);

  RowTable days;
  RowTable drives;  // drive and parking rows, in the order they are opened
  const LocalTime start = ToLocalTime(points[0].date_number, points[0].time_number, offset);
  days.push_back(OpenRow(RowType::kDay, 0, start));
  drives.push_back(OpenRow(RowType::kDrive, 0, start));
  std::size_t open_day = 0;
  std::size_t open_drive = 0;
  for (const auto& [first_pair, cuts] : parts) {
    for (const Cut& cut : cuts) {
      const std::size_t i = cut.index;
      if (cut.new_day) {
        TripRecord& day = days[open_day];
        day.point_count = static_cast<std::int32_t>(i - static_cast<std::size_t>(day.first_point));
        open_day = days.size();
        days.push_back(OpenRow(RowType::kDay, i, cut.now));
      }
      TripRecord& drive = drives[open_drive];
      drive.point_count = static_cast<std::int32_t>(i - static_cast<std::size_t>(drive.first_point));
      open_drive = drives.size();
      drives.push_back(OpenRow(RowType::kDrive, i, cut.now));
      TripRecord parking = OpenRow(RowType::kParking, i - 1, cut.previous);
      parking.point_count = 2;
      drives.push_back(parking);
    }
  }
  const std::size_t n = points.size();
  days[open_day].point_count = static_cast<std::int32_t>(n - static_cast<std::size_t>(days[open_day].first_point));
  drives[open_drive].point_count =
      static_cast<std::int32_t>(n - static_cast<std::size_t>(drives[open_drive].first_point));

  RowTable rows = std::move(days);
  rows.insert(rows.end(), drives.begin(), drives.end());
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].row_index = static_cast<std::int32_t>(i);
  return rows;
}

std::optional<TripList> BuildTrips(PointStore& points, TimeZoneOffset zone, bool resort, ScanHost& host) {
  if (resort && !SortAndRemoveDuplicates(points, host)) return std::nullopt;
  return CutTrips(points, zone, host);
}

std::optional<TripList> CutTrips(const PointStore& points, TimeZoneOffset zone, ScanHost& host) {
  if (points.empty()) return std::nullopt;
  std::optional<RowTable> rows = CutRows(points, zone, host);
  if (!rows) return std::nullopt;

  const std::int64_t offset = OffsetSeconds(zone, false);
  if (!ComputeAllRowStatistics(*rows, points, offset, host.CancelFlag())) return std::nullopt;
  SumParkingIntoDays(*rows);

  TripList list;
  list.order = ListOrder(*rows);
  list.rows = std::move(*rows);
  return list;
}

}  // namespace tracker
