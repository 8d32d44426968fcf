#include "tracker/log/trip_builder.h"

#include <cstring>

#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
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

}  // namespace

std::optional<RowTable> CutRows(const PointStore& points, TimeZoneOffset zone, ScanHost& host) {
  if (points.empty()) return RowTable{};
  const std::int64_t offset = OffsetSeconds(zone, false);
  RowTable days;
  RowTable drives;  // drive and parking rows, in the order they are opened

  LocalClock clock(offset);
  LocalTime previous = clock(points[0].date_number, points[0].time_number);
  days.push_back(OpenRow(RowType::kDay, 0, previous));
  drives.push_back(OpenRow(RowType::kDrive, 0, previous));
  std::size_t open_day = 0;
  std::size_t open_drive = 0;
  int shown_progress = -1;
  const std::atomic<bool>& cancel = host.CancelFlag();

  // One walk makes both the day cuts and the drive cuts; they only differ in where rows go.
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (cancel.load(std::memory_order_relaxed)) return std::nullopt;
    if (const int progress = static_cast<int>(i * 100 / points.size()); progress != shown_progress) {
      shown_progress = progress;
      host.Progress(progress, ScanPhase::kCutting);
    }
    const LocalTime now = clock(points[i].date_number, points[i].time_number);
    // The whole date, not just the day of the month: fixes a month apart are different days.
    const bool new_day =
        now.day != previous.day || now.month != previous.month || now.year != previous.year;
    if (new_day) {
      TripRecord& day = days[open_day];
      day.point_count = static_cast<std::int32_t>(i - static_cast<std::size_t>(day.first_point));
      open_day = days.size();
      days.push_back(OpenRow(RowType::kDay, i, now));
    }
    if (new_day || now.seconds >= previous.seconds + kParkingGapSeconds) {
      TripRecord& drive = drives[open_drive];
      drive.point_count = static_cast<std::int32_t>(i - static_cast<std::size_t>(drive.first_point));
      open_drive = drives.size();
      drives.push_back(OpenRow(RowType::kDrive, i, now));
      TripRecord parking = OpenRow(RowType::kParking, i - 1, previous);
      parking.point_count = 2;
      drives.push_back(parking);
    }
    previous = now;
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

std::optional<TripList> BuildTrips(PointStore& points, TimeZoneOffset zone, bool resort,
                                   ScanHost& host) {
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
