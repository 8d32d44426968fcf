#include "tracker/log/point_order.h"

#include <algorithm>

namespace tracker {

namespace {

bool Earlier(const TrackPoint& a, const TrackPoint& b) {
  return a.date_number != b.date_number ? a.date_number < b.date_number
                                        : a.time_number < b.time_number;
}

bool SameSecond(const TrackPoint& a, const TrackPoint& b) {
  return a.date_number == b.date_number && a.time_number == b.time_number;
}

}  // namespace

bool SortAndRemoveDuplicates(PointStore& points, ScanHost& host) {
  if (host.Cancelled()) return false;
  host.Progress(0, ScanPhase::kSorting);
  // Logs are written in time order and read in name order, so the store is usually sorted
  // already; a stable sort keeps the first-read copy of a duplicate in front either way.
  if (!std::is_sorted(points.begin(), points.end(), Earlier)) {
    std::stable_sort(points.begin(), points.end(), Earlier);
  }
  if (host.Cancelled()) return false;
  points.erase(std::unique(points.begin(), points.end(), SameSecond), points.end());
  host.Progress(100, ScanPhase::kSorting);
  return true;
}

}  // namespace tracker
