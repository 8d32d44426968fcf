#include "tracker/log/outlier_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include "common/hhmmss.h"
#include "tracker/log/field_text.h"
#include "tracker/log/geodesic_distance.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

struct Fix {
  double latitude;
  double longitude;
  std::int64_t seconds;  // on a clock of 360-day years and 30-day months: only differences matter
};

Fix ReadFix(const TrackPoint& point) {
  const std::int32_t date = point.date_number;
  const std::int32_t time = point.time_number;
  const std::int64_t day = std::int64_t{date / 10000} * 360 + (date / 100) % 100 * 30 + date % 100;
  return {TextToDouble(FieldText(point.latitude)), TextToDouble(FieldText(point.longitude)),
          day * 86400 + common::HhmmssSeconds(time)};
}

GeodesicPoint ReadGeodesicPoint(const TrackPoint& point) {
  return MakeGeodesicPoint(TextToDouble(FieldText(point.latitude)),
                           TextToDouble(FieldText(point.longitude)));
}

// One distance per pair, as large as the store itself in count: allocated like it.
using PairDistanceStore = std::vector<double, PointAllocator<double>>;

// Distances of pairs [first, last) into `distances`; stops early once cancelled.
void MeasurePairs(const PointStore& points, std::size_t first, std::size_t last,
                  PairDistanceStore& distances, const std::atomic<bool>& cancel) {
  if (first >= last) return;
  GeodesicPoint current = ReadGeodesicPoint(points[first]);
  for (std::size_t j = first; j < last; ++j) {
    if ((j & 4095) == 0 && cancel.load(std::memory_order_relaxed)) return;
    const GeodesicPoint next = ReadGeodesicPoint(points[j + 1]);
    distances[j] = GeodesicDistance(current, next);
    current = next;
  }
}

// Vincenty's formula is most of the filter's work and each pair stands alone, so large stores
// are measured on more than one core; the judging that follows runs in reading order.
PairDistanceStore PairDistances(const PointStore& points, const std::atomic<bool>& cancel) {
  const std::size_t pair_count = points.size() - 1;
  PairDistanceStore distances(pair_count);
  constexpr std::size_t kWorthAThread = 65536;
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t workers = std::min<std::size_t>({cores, 4, pair_count / kWorthAThread + 1});
  const std::size_t share = (pair_count + workers - 1) / workers;
  std::vector<std::jthread> helpers;  // joined on every way out
  helpers.reserve(workers);
  try {
    for (std::size_t w = 1; w < workers; ++w) {
      helpers.emplace_back(MeasurePairs, std::cref(points), w * share,
                           std::min(pair_count, (w + 1) * share), std::ref(distances),
                           std::cref(cancel));
    }
  } catch (const std::system_error&) {
    // Fewer threads than hoped for: this one takes the shares nobody took.
  }
  MeasurePairs(points, 0, std::min(pair_count, share), distances, cancel);
  MeasurePairs(points, std::min(pair_count, (helpers.size() + 1) * share), pair_count, distances, cancel);
  helpers.clear();
  return distances;
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
    if (written != first) std::copy(points.begin() + first, points.begin() + last + 1, points.begin() + written);
    written += last - first + 1;
  };

  const std::atomic<bool>& cancel = host.CancelFlag();
  const PairDistanceStore distances = PairDistances(points, cancel);
  Fix current = ReadFix(points[0]);
  Segment segment;
  std::size_t segment_index = 0;
  double speed_of_previous_break = 0.0;
  int shown_progress = -1;

  for (std::size_t j = 0; j < pair_count; ++j) {
    if (cancel.load(std::memory_order_relaxed)) {
      if (written > 0) points.resize(written);
      return;
    }
    if (const int progress = static_cast<int>(j * 100 / pair_count); progress != shown_progress) {
      shown_progress = progress;
      host.Progress(progress, ScanPhase::kFiltering);
    }

    const Fix next = ReadFix(points[j + 1]);
    const double distance = distances[j];
    const std::int64_t dt = next.seconds - current.seconds;
    const double speed = dt != 0 ? distance / static_cast<double>(dt) : 0.0;
    const bool is_break = dt > kBreakGapSeconds || speed > kBreakSpeed;

    ++segment.pairs;
    if (!is_break) {
      segment.latitude_sum += std::fabs(next.latitude - current.latitude);
      segment.seconds_sum += std::fabs(static_cast<double>(dt));
      segment.speed_sum += std::fabs(speed);
      segment.longitude_sum += std::fabs(next.longitude - current.longitude);
    }
    current = next;

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
