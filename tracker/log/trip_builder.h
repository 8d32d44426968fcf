#pragma once

#include <optional>

#include "tracker/log/scan_host.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/track_point.h"
#include "tracker/log/trip_list.h"

namespace tracker {

// A drive ends when the next fix comes this many seconds or more after the last one.
inline constexpr int kParkingGapSeconds = 600;

// Cuts sorted fixes into rows: one day row per local calendar day, one drive row per run of
// fixes less than 10 minutes apart within a day, and a two-point parking row between drives.
// Row texts and cuts use the zone's offset without the daylight-saving hour. Day rows come
// first in the table, then drive and parking rows in the order they were opened. Statistics
// are not filled in. Nothing when `host` cancels.
std::optional<RowTable> CutRows(const PointStore& points, TimeZoneOffset zone, ScanHost& host);

// Rows, statistics, the days' parking sums and the list order of points that are already
// sorted and free of duplicates. The points are only read, so a re-cut for another time zone
// can run beside a window that still shows the old rows. Nothing when there are no points or
// `host` cancels.
std::optional<TripList> CutTrips(const PointStore& points, TimeZoneOffset zone, ScanHost& host);

// The whole pass after a scan (`resort` set) or after a time-zone change (clear): optionally
// sort and remove duplicates, cut the rows, fill their statistics and the days' parking sums,
// and order the list. Nothing when there are no points or `host` cancels.
std::optional<TripList> BuildTrips(PointStore& points, TimeZoneOffset zone, bool resort, ScanHost& host);

}  // namespace tracker
