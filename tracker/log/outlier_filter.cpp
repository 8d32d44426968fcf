#include "tracker/log/outlier_filter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "common/hhmmss.h"
#include "tracker/log/distance_bounds.h"
#include "tracker/log/field_text.h"
#include "tracker/log/geodesic_distance.h"
#include "tracker/log/parallel_shares.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

// What the judging needs of each fix and pair, measured before it on every core. Vincenty's
// formula would be most of the filter's work, yet nearly every judgement comes out the same
// for any distance within a few millimetres: a pair keeps the straight line between its fixes,
// which bounds that distance closely, and the exact distance is worked out only where the
// bounds leave a judgement in doubt, or where the line tells nothing (far apart, near a pole).
struct Measures {
  std::vector<double, PointAllocator<double>> latitude;                // per fix
  std::vector<double, PointAllocator<double>> longitude;               // per fix
  std::vector<double, PointAllocator<double>> distance;                // per pair: exact, or the line
  std::vector<unsigned char, PointAllocator<unsigned char>> exact;     // per pair
  std::vector<unsigned char, PointAllocator<unsigned char>> is_break;  // per pair, decided

  DistanceBounds Bounds(std::size_t pair) const {
    return exact[pair] ? DistanceBounds{distance[pair], distance[pair]} : BoundDistance(distance[pair]);
  }
  void MakeExact(std::size_t pair) {
    if (exact[pair]) return;
    distance[pair] = GeodesicDistance(MakeGeodesicPoint(latitude[pair], longitude[pair]),
                                      MakeGeodesicPoint(latitude[pair + 1], longitude[pair + 1]));
    exact[pair] = 1;
  }
};

// Seconds on a clock of 360-day years and 30-day months: only differences matter.
std::int64_t FixSeconds(const TrackPoint& point) {
  const std::int32_t date = point.date_number;
  const std::int64_t day = std::int64_t{date / 10000} * 360 + (date / 100) % 100 * 30 + date % 100;
  return day * 86400 + common::HhmmssSeconds(point.time_number);
}

// A pair's speed, m/s: somewhere in [low, high], or exactly known when they are equal. Division
// and addition round monotonically, so working on both ends brackets what the exact distance
// would give, bit for bit.
struct Speed {
  double low = 0.0;
  double high = 0.0;

  static Speed Of(const DistanceBounds& distance, std::int64_t dt) {
    if (dt == 0) return {};
    const double seconds = static_cast<double>(dt);
    return dt > 0 ? Speed{distance.low / seconds, distance.high / seconds}
                  : Speed{distance.high / seconds, distance.low / seconds};
  }
};

// A judgement that the bounds may leave open.
enum class Verdict { kNo, kYes, kOpen };

Verdict Above(double low, double high, double limit) {
  if (low > limit) return Verdict::kYes;
  if (!(high > limit)) return Verdict::kNo;
  return Verdict::kOpen;
}
Verdict Below(double low, double high, double limit) {
  if (high < limit) return Verdict::kYes;
  if (!(low < limit)) return Verdict::kNo;
  return Verdict::kOpen;
}
Verdict And(Verdict a, Verdict b) {
  if (a == Verdict::kNo || b == Verdict::kNo) return Verdict::kNo;
  return a == Verdict::kYes && b == Verdict::kYes ? Verdict::kYes : Verdict::kOpen;
}
Verdict Or(Verdict a, Verdict b) {
  if (a == Verdict::kYes || b == Verdict::kYes) return Verdict::kYes;
  return a == Verdict::kNo && b == Verdict::kNo ? Verdict::kNo : Verdict::kOpen;
}
Verdict Known(bool value) { return value ? Verdict::kYes : Verdict::kNo; }

// Distances and breaks of pairs [first, last) and coordinates of their first fixes (and of the very last
// fix: no share writes what another one does); stops early once cancelled.
void MeasureShare(const PointStore& points, std::size_t first, std::size_t last, Measures& measures,
                  const std::atomic<bool>& cancel) {
  struct Fix {
    double latitude;
    double longitude;
    SpacePoint space;
    std::int64_t seconds;
  };
  const auto read = [&](std::size_t i) {
    const double latitude = FieldToDouble(points[i].latitude);
    const double longitude = FieldToDouble(points[i].longitude);
    if (i < last || i + 1 == points.size()) {
      measures.latitude[i] = latitude;
      measures.longitude[i] = longitude;
    }
    return Fix{latitude, longitude, MakeSpacePoint(latitude, longitude), FixSeconds(points[i])};
  };
  Fix current = read(first);
  for (std::size_t j = first; j < last; ++j) {
    if ((j & 4095) == 0 && cancel.load(std::memory_order_relaxed)) return;
    const Fix next = read(j + 1);
    std::optional<double> line;
    // The same fix twice (a car standing still): Vincenty's formula gives exactly 0.
    const bool same = current.latitude == next.latitude && current.longitude == next.longitude;
    if (!same) {
      line =
          StraightLine(current.latitude, current.longitude, current.space, next.latitude, next.longitude, next.space);
    }
    // The next share writes the next fix's coordinates: the exact distance comes from this
    // share's own copies.
    const auto exact = [&] {
      measures.exact[j] = 1;
      measures.distance[j] = same ? 0.0
                                  : GeodesicDistance(MakeGeodesicPoint(current.latitude, current.longitude),
                                                     MakeGeodesicPoint(next.latitude, next.longitude));
    };
    if (line) {
      measures.exact[j] = 0;
      measures.distance[j] = *line;
    } else {
      exact();
    }
    // A pair more than 30 s or 300 km/h apart cuts the fixes into segments.
    const std::int64_t dt = next.seconds - current.seconds;
    const auto is_break = [&] {
      const Speed speed = Speed::Of(measures.Bounds(j), dt);
      return Or(Known(dt > kBreakGapSeconds), Above(speed.low, speed.high, kBreakSpeed));
    };
    Verdict verdict = is_break();
    if (verdict == Verdict::kOpen) {
      exact();
      verdict = is_break();
    }
    measures.is_break[j] = verdict == Verdict::kYes;
    current = next;
  }
}

Measures Measure(const PointStore& points, const std::atomic<bool>& cancel) {
  const std::size_t pair_count = points.size() - 1;
  Measures measures;
  measures.latitude.resize(points.size());
  measures.longitude.resize(points.size());
  measures.distance.resize(pair_count);
  measures.exact.resize(pair_count);
  measures.is_break.resize(pair_count);
  ForEachShare(pair_count, 65536,
               [&](std::size_t first, std::size_t last) { MeasureShare(points, first, last, measures, cancel); });
  return measures;
}

// Sums over the good pairs of one segment; the speed sum as bounds.
struct Segment {
  std::size_t first_pair = 0;
  std::int64_t pairs = 0;      // h: every pair, good or not
  double latitude_sum = 0.0;   // A
  double seconds_sum = 0.0;    // T
  double speed_low = 0.0;      // V, at least
  double speed_high = 0.0;     // V, at most
  double longitude_sum = 0.0;  // B

  // A pair's |speed|: a speed below 0 (time running backwards) has its ends swapped.
  void AddSpeed(const Speed& speed) {
    const bool backwards = speed.low < 0.0;
    speed_low += std::fabs(backwards ? speed.high : speed.low);
    speed_high += std::fabs(backwards ? speed.low : speed.high);
  }
};

Verdict Implausible(const Segment& segment, const Speed& previous_break) {
  const double h = static_cast<double>(segment.pairs);
  // Without good time there is no rate, and no test on it applies (NaN compares false).
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double t = segment.seconds_sum;
  const double r_low = t != 0.0 ? std::fabs(segment.speed_low / t) : nan;
  const double r_high = t != 0.0 ? std::fabs(segment.speed_high / t) : nan;
  const double a = segment.latitude_sum;
  const double b = segment.longitude_sum;
  // A fast segment is a glitch only when the receiver jumped into it or no car could drive it:
  // motorway driving after a tunnel's gap stays.
  const Verdict glitch =
      And(Above(r_low, r_high, kSegmentRateLimit),
          Or(Above(previous_break.low, previous_break.high, kBreakSpeed), Above(r_low, r_high, kImplausibleRate)));
  const Verdict jumped = And(Known(h < 0.9 * t), Above(previous_break.low, previous_break.high, kJumpSpeed));
  const bool thin = segment.pairs <= 3 || a < 1e-6 || b < 1e-6 || ((a < 0.001 || b < 0.001) && segment.pairs < 30);
  const Verdict standing = And(Below(r_low, r_high, 1e-9), Known(segment.pairs > 2));
  return Or(Or(glitch, jumped), Or(Known(thin), standing));
}

// A judged segment: pairs [first_pair, last_pair], and whether its points stay.
struct Judged {
  std::size_t first_pair = 0;
  std::size_t last_pair = 0;
  bool kept = false;
};

// Judges the segments that start at a pair in [first, last), each to its end; segments stand
// alone once the breaks are known, so shares of them are judged on every core. Stops early
// once cancelled.
std::vector<Judged> JudgeShare(const PointStore& points, Measures& measures, std::size_t first, std::size_t last,
                               const std::atomic<bool>& cancel) {
  const std::size_t pair_count = points.size() - 1;
  const auto pair_seconds = [&](std::size_t pair) { return FixSeconds(points[pair + 1]) - FixSeconds(points[pair]); };
  const auto exact_speed = [&](std::size_t pair) {
    measures.MakeExact(pair);
    return Speed::Of(measures.Bounds(pair), pair_seconds(pair));
  };
  std::vector<Judged> judged;
  std::size_t start = first;
  while (start > 0 && start < last && !measures.is_break[start - 1]) ++start;
  while (start < last) {
    if (cancel.load(std::memory_order_relaxed)) break;
    Segment segment{.first_pair = start};
    std::size_t j = start;
    for (;; ++j) {
      ++segment.pairs;
      if (measures.is_break[j]) break;
      const std::int64_t dt = pair_seconds(j);
      segment.latitude_sum += std::fabs(measures.latitude[j + 1] - measures.latitude[j]);
      segment.seconds_sum += std::fabs(static_cast<double>(dt));
      segment.AddSpeed(Speed::Of(measures.Bounds(j), dt));
      segment.longitude_sum += std::fabs(measures.longitude[j + 1] - measures.longitude[j]);
      if (j + 1 == pair_count) break;
    }
    bool kept = start == 0;
    if (!kept) {
      // The pair that ended the segment before is this one's previous break.
      Speed previous_break = Speed::Of(measures.Bounds(start - 1), pair_seconds(start - 1));
      Verdict implausible = Implausible(segment, previous_break);
      if (implausible == Verdict::kOpen) {
        previous_break = exact_speed(start - 1);
        implausible = Implausible(segment, previous_break);
      }
      if (implausible == Verdict::kOpen) {
        // Sum the segment again with exact speeds, in the same order.
        segment.speed_low = segment.speed_high = 0.0;
        for (std::size_t k = start; k <= j && !measures.is_break[k]; ++k) segment.AddSpeed(exact_speed(k));
        implausible = Implausible(segment, previous_break);
      }
      kept = implausible == Verdict::kNo;
    }
    judged.push_back({start, j, kept});
    start = j + 1;
  }
  return judged;
}

}  // namespace

void FilterOutliers(PointStore& points, ScanHost& host) {
  const std::size_t n = points.size();
  if (n < 2) return;
  const std::size_t pair_count = n - 1;
  const std::atomic<bool>& cancel = host.CancelFlag();
  host.Progress(0, ScanPhase::kFiltering);
  Measures measures = Measure(points, cancel);
  if (cancel.load(std::memory_order_relaxed)) return;
  host.Progress(40, ScanPhase::kFiltering);

  std::vector<std::pair<std::size_t, std::vector<Judged>>> parts;  // by first pair
  std::mutex parts_lock;
  ForEachShare(pair_count, 65536, [&](std::size_t first, std::size_t last) {
    std::vector<Judged> judged = JudgeShare(points, measures, first, last, cancel);
    const std::lock_guard lock(parts_lock);
    parts.emplace_back(first, std::move(judged));
  });
  if (cancel.load(std::memory_order_relaxed)) return;
  std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  host.Progress(80, ScanPhase::kFiltering);

  // Kept points are moved down in place, in order: the write position never passes the
  // segment being moved. A segment's points run to its last pair's first fix, or to the very
  // last fix for the last segment.
  std::size_t written = 0;
  const auto at = [&](std::size_t index) { return points.begin() + static_cast<std::ptrdiff_t>(index); };
  for (const auto& [first_pair, judged] : parts) {
    for (const Judged& segment : judged) {
      if (!segment.kept) continue;
      const std::size_t first = segment.first_pair;
      const std::size_t last = segment.last_pair + 1 == pair_count ? pair_count : segment.last_pair;
      if (written != first) std::copy(at(first), at(last + 1), at(written));
      written += last - first + 1;
    }
  }
  points.resize(written);
}

}  // namespace tracker
