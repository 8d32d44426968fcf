#include "tracker/log/point_order.h"

#include <algorithm>
#include <atomic>

#include "tracker/log/parallel_shares.h"

namespace tracker {

namespace {

bool Earlier(const TrackPoint& a, const TrackPoint& b) {
  return a.date_number != b.date_number ? a.date_number < b.date_number : a.time_number < b.time_number;
}

bool SameSecond(const TrackPoint& a, const TrackPoint& b) {
  return a.date_number == b.date_number && a.time_number == b.time_number;
}

}  // namespace

bool SortAndRemoveDuplicates(PointStore& points, ScanHost& host) {
  if (host.Cancelled()) return false;
  host.Progress(0, ScanPhase::kSorting);
  // Logs are written in time order and read in name order, so the store is usually in order
  // and free of duplicates already, which every core checks for a share of it.
  std::atomic<bool> in_order{true};
  if (!points.empty()) {
    ForEachShare(points.size() - 1, 65536, [&](std::size_t first, std::size_t last) {
      for (std::size_t i = first; i < last && in_order.load(std::memory_order_relaxed); ++i) {
        if (!Earlier(points[i], points[i + 1])) in_order.store(false, std::memory_order_relaxed);
      }
    });
  }
  if (!in_order.load()) {
    // A stable sort keeps the first-read copy of a duplicate in front.
    if (!std::is_sorted(points.begin(), points.end(), Earlier)) {
      std::stable_sort(points.begin(), points.end(), Earlier);
    }
    if (host.Cancelled()) return false;
    points.erase(std::unique(points.begin(), points.end(), SameSecond), points.end());
  }
  host.Progress(100, ScanPhase::kSorting);
  return true;
}

}  // namespace tracker
