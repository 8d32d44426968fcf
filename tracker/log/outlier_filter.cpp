#include "tracker/log/outlier_filter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/hhmmss.h"
#include "tracker/log/field_text.h"
#include "tracker/log/geodesic_distance.h"
#include "tracker/log/parallel_shares.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

// What the judging needs of each fix and pair, measured before it on every core.
struct Measures {
  std::vector<double, PointAllocator<double>> latitude;   // per fix
  std::vector<double, PointAllocator<double>> longitude;  // per fix
  std::vector<double, PointAllocator<double>> distance;   // per pair, metres
};

// Seconds on a clock of 360-day years and 30-day months: only differences matter.
std::int64_t FixSeconds(const TrackPoint& point) {
  const std::int32_t date = point.date_number;
  const std::int64_t day = std::int64_t{date / 10000} * 360 + (date / 100) % 100 * 30 + date % 100;
  return day * 86400 + common::HhmmssSeconds(point.time_number);
}

// Distances of pairs [first, last) and coordinates of their first fixes (and of the very last
// fix: no share writes what another one does); stops early once cancelled.
void MeasureShare(const PointStore& points, std::size_t first, std::size_t last, Measures& measures,
                  const std::atomic<bool>& cancel) {
  const auto read = [&](std::size_t i) {
    const double latitude = TextToDouble(FieldText(points[i].latitude));
    const double longitude = TextToDouble(FieldText(points[i].longitude));
    if (i < last || i + 1 == points.size()) {
      measures.latitude[i] = latitude;
      measures.longitude[i] = longitude;
    }
    return MakeGeodesicPoint(latitude, longitude);
  };
  GeodesicPoint current = read(first);
  for (std::size_t j = first; j < last; ++j) {
    if ((j & 4095) == 0 && cancel.load(std::memory_order_relaxed)) return;
    const GeodesicPoint next = read(j + 1);
    measures.distance[j] = GeodesicDistance(current, next);
    current = next;
  }
}

// Vincenty's formula is most of the filter's work and each pair stands alone, so large stores
// are measured on more than one core; the judging that follows runs in reading order.
Measures Measure(const PointStore& points, const std::atomic<bool>& cancel) {
  const std::size_t pair_count = points.size() - 1;
  Measures measures;
  measures.latitude.resize(points.size());
  measures.longitude.resize(points.size());
  measures.distance.resize(pair_count);
  ForEachShare(pair_count, 65536, [&](std::size_t first, std::size_t last) {
    MeasureShare(points, first, last, measures, cancel);
  });
  return measures;
}

// Sums over the good pairs of one segment.
struct Segment {
  std::size_t first_pair = 0;
  std::int64_t pairs = 0;  // h: every pair, good or not
  double latitude_sum = 0.0;   // A
  double seconds_sum = 0.0;    // T
  double speed_sum = 0.0;      // V
  double longitude_sum = 0.0;  // B
};

bool Implausible(const Segment& segment, double speed_of_previous_break) {
  const double h = static_cast<double>(segment.pairs);
  // Without good time there is no rate, and no test on it applies.
  const double r = segment.seconds_sum != 0.0 ? std::fabs(segment.speed_sum / segment.seconds_sum)
                                              : std::numeric_limits<double>::quiet_NaN();
  const double a = segment.latitude_sum;
  const double b = segment.longitude_sum;
  // A fast segment is a glitch only when the receiver jumped into it or no car could drive it:
  // motorway driving after a tunnel's gap stays.
  const bool glitch = r > kSegmentRateLimit && (speed_of_previous_break > kBreakSpeed || r > kImplausibleRate);
  return glitch ||
         (h < 0.9 * segment.seconds_sum && speed_of_previous_break > kJumpSpeed) ||
         segment.pairs <= 3 ||
         a < 1e-6 || b < 1e-6 ||
         (r < 1e-9 && segment.pairs > 2) ||
         ((a < 0.001 || b < 0.001) && segment.pairs < 30);
}

}  // namespace

void FilterOutliers(PointStore& points, ScanHost& host) {
  const std::size_t n = points.size();
  if (n < 2) return;
  const std::size_t pair_count = n - 1;

  // Kept points are moved down in place: the write position never passes the first point of
  // the segment being judged, and that segment is only moved once it is judged.
  std::size_t written = 0;
  const auto keep = [&](std::size_t first, std::size_t last) {  // points [first, last]
    if (written != first) {
      const auto at = [&](std::size_t index) { return points.begin() + static_cast<std::ptrdiff_t>(index); };
      std::copy(at(first), at(last + 1), at(written));
    }
    written += last - first + 1;
  };

  const std::atomic<bool>& cancel = host.CancelFlag();
  host.Progress(0, ScanPhase::kFiltering);
  const Measures measures = Measure(points, cancel);
  std::int64_t current_seconds = FixSeconds(points[0]);
  Segment segment;
  std::size_t segment_index = 0;
  double speed_of_previous_break = 0.0;
  int shown_progress = 0;

  for (std::size_t j = 0; j < pair_count; ++j) {
    if (cancel.load(std::memory_order_relaxed)) {
      if (written > 0) points.resize(written);
      return;
    }
    if (const int progress = static_cast<int>(j * 100 / pair_count); progress != shown_progress) {
      shown_progress = progress;
      host.Progress(progress, ScanPhase::kFiltering);
    }

    const std::int64_t next_seconds = FixSeconds(points[j + 1]);
    const double distance = measures.distance[j];
    const std::int64_t dt = next_seconds - current_seconds;
    const double speed = dt != 0 ? distance / static_cast<double>(dt) : 0.0;
    const bool is_break = dt > kBreakGapSeconds || speed > kBreakSpeed;

    ++segment.pairs;
    if (!is_break) {
      segment.latitude_sum += std::fabs(measures.latitude[j + 1] - measures.latitude[j]);
      segment.seconds_sum += std::fabs(static_cast<double>(dt));
      segment.speed_sum += std::fabs(speed);
      segment.longitude_sum += std::fabs(measures.longitude[j + 1] - measures.longitude[j]);
    }
    current_seconds = next_seconds;

    const bool last_pair = j + 1 == pair_count;
    if (is_break || last_pair) {
      const bool kept = segment_index == 0 || !Implausible(segment, speed_of_previous_break);
      if (kept) keep(segment.first_pair, last_pair ? j + 1 : j);
      speed_of_previous_break = speed;
      segment = Segment{.first_pair = j + 1};
      ++segment_index;
    }
  }
  points.resize(written);
}

}  // namespace tracker
