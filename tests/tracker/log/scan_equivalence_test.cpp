// The scan's fast paths (distances bounded by the straight line, work shared between cores)
// against plain serial versions of the outlier filter and the row cutting, on a long drive with
// everything a real log has: tunnels, glitches, parking, clocks going back, midnight, and pairs
// whose fate the bounds cannot tell.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/hhmmss.h"
#include "fake_scan_host.h"
#include "make_point.h"
#include "tracker/log/distance_bounds.h"
#include "tracker/log/field_text.h"
#include "tracker/log/geodesic_distance.h"
#include "tracker/log/local_time.h"
#include "tracker/log/outlier_filter.h"
#include "tracker/log/point_order.h"
#include "tracker/log/row_statistics.h"
#include "tracker/log/text_number.h"
#include "tracker/log/trip_builder.h"

namespace {

using tracker::PointStore;
using tracker::TrackPoint;
using tracker::TripRecord;

double Latitude(const TrackPoint& point) { return tracker::TextToDouble(tracker::FieldText(point.latitude)); }
double Longitude(const TrackPoint& point) { return tracker::TextToDouble(tracker::FieldText(point.longitude)); }

std::int64_t FixSeconds(const TrackPoint& point) {
  const std::int32_t date = point.date_number;
  return (std::int64_t{date / 10000} * 360 + (date / 100) % 100 * 30 + date % 100) * 86400 +
         common::HhmmssSeconds(point.time_number);
}

// The filter as written down: Vincenty's distance for every pair, one walk.
PointStore ReferenceFilter(const PointStore& points) {
  PointStore kept;
  if (points.size() < 2) return points;
  struct Sums {
    std::size_t first = 0;
    std::int64_t pairs = 0;
    double a = 0, t = 0, v = 0, b = 0;
  } segment;
  double previous_break = 0.0;
  bool first_segment = true;
  for (std::size_t j = 0; j + 1 < points.size(); ++j) {
    const std::int64_t dt = FixSeconds(points[j + 1]) - FixSeconds(points[j]);
    const double distance = tracker::GeodesicDistance(Latitude(points[j]), Longitude(points[j]),
                                                      Latitude(points[j + 1]), Longitude(points[j + 1]));
    const double speed = dt != 0 ? distance / static_cast<double>(dt) : 0.0;
    const bool is_break = dt > tracker::kBreakGapSeconds || speed > tracker::kBreakSpeed;
    ++segment.pairs;
    if (!is_break) {
      segment.a += std::fabs(Latitude(points[j + 1]) - Latitude(points[j]));
      segment.t += std::fabs(static_cast<double>(dt));
      segment.v += std::fabs(speed);
      segment.b += std::fabs(Longitude(points[j + 1]) - Longitude(points[j]));
    }
    const bool last_pair = j + 2 == points.size();
    if (!is_break && !last_pair) continue;
    const double h = static_cast<double>(segment.pairs);
    const double r = segment.t != 0.0 ? std::fabs(segment.v / segment.t) : std::numeric_limits<double>::quiet_NaN();
    const bool implausible =
        (r > tracker::kSegmentRateLimit && (previous_break > tracker::kBreakSpeed || r > tracker::kImplausibleRate)) ||
        (h < 0.9 * segment.t && previous_break > tracker::kJumpSpeed) || segment.pairs <= 3 || segment.a < 1e-6 ||
        segment.b < 1e-6 || (r < 1e-9 && segment.pairs > 2) ||
        ((segment.a < 0.001 || segment.b < 0.001) && segment.pairs < 30);
    if (first_segment || !implausible) {
      kept.insert(kept.end(), points.begin() + static_cast<std::ptrdiff_t>(segment.first),
                  points.begin() + static_cast<std::ptrdiff_t>(last_pair ? j + 2 : j + 1));
    }
    first_segment = false;
    previous_break = speed;
    segment = Sums{.first = j + 1};
  }
  return kept;
}

TripRecord Row(tracker::RowType type, std::size_t first, const tracker::LocalTime& start) {
  TripRecord row;
  std::memset(&row, 0, sizeof row);
  row.type = type;
  row.first_point = static_cast<std::int32_t>(first);
  tracker::SetFieldText(row.start_date, tracker::DateText(start));
  tracker::SetFieldText(row.start_time, tracker::TimeText(start));
  return row;
}

// The rows as written down: one walk over sorted points, then each row summed on its own.
tracker::RowTable ReferenceRows(const PointStore& points, std::int64_t offset) {
  tracker::RowTable days, drives;
  const auto local = [&](std::size_t i) {
    return tracker::ToLocalTime(points[i].date_number, points[i].time_number, offset);
  };
  days.push_back(Row(tracker::RowType::kDay, 0, local(0)));
  drives.push_back(Row(tracker::RowType::kDrive, 0, local(0)));
  for (std::size_t i = 1; i < points.size(); ++i) {
    const tracker::LocalTime previous = local(i - 1);
    const tracker::LocalTime now = local(i);
    const bool new_day = now.day != previous.day || now.month != previous.month || now.year != previous.year;
    if (new_day) {
      days.back().point_count = static_cast<std::int32_t>(i) - days.back().first_point;
      days.push_back(Row(tracker::RowType::kDay, i, now));
    }
    if (new_day || now.seconds >= previous.seconds + tracker::kParkingGapSeconds) {
      TripRecord* open = nullptr;
      for (TripRecord& row : drives) {
        if (row.type == tracker::RowType::kDrive) open = &row;
      }
      open->point_count = static_cast<std::int32_t>(i) - open->first_point;
      drives.push_back(Row(tracker::RowType::kDrive, i, now));
      drives.push_back(Row(tracker::RowType::kParking, i - 1, previous));
      drives.back().point_count = 2;
    }
  }
  days.back().point_count = static_cast<std::int32_t>(points.size()) - days.back().first_point;
  for (auto it = drives.rbegin(); it != drives.rend(); ++it) {
    if (it->type == tracker::RowType::kDrive) {
      it->point_count = static_cast<std::int32_t>(points.size()) - it->first_point;
      break;
    }
  }
  tracker::RowTable rows = days;
  rows.insert(rows.end(), drives.begin(), drives.end());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].row_index = static_cast<std::int32_t>(i);
    tracker::ComputeRowStatistics(rows[i], points, offset);
  }
  tracker::SumParkingIntoDays(rows);
  return rows;
}

// A position on the stored texts' grid of 1e-5 degrees, printed without a doubt about the last
// digit.
double Grid(long units) { return (static_cast<double>(units) + 0.02) / 1e5; }

TrackPoint GridPoint(int date, int second, long north, long east, const char* knots) {
  return tracker_test::MakePoint(date, tracker_test::Clock(second), Grid(north), Grid(east), knots);
}

// A place near (north, east) and a step north-east from it on the grid whose distance the
// straight line cannot place on either side of `metres`: only Vincenty's formula can tell
// whether a pair this long over one second is faster than `metres` a second.
struct Doubt {
  long north = 0;
  long step_north = 0;
  long step_east = 0;
};

Doubt StepInDoubt(long north, long east, double metres) {
  // Moving the place north turns the grid's east steps shorter, a millimetre or so at a time.
  for (long place = north; place < north + 100000; place += 300) {
    const TrackPoint from = GridPoint(20130101, 0, place, east, "000.0");
    for (long step_north = 1; step_north < 80; ++step_north) {
      for (long step_east = 1; step_east < 110; ++step_east) {
        const TrackPoint to = GridPoint(20130101, 0, place + step_north, east + step_east, "000.0");
        const std::optional<double> line = tracker::StraightLine(
            Latitude(from), Longitude(from), tracker::MakeSpacePoint(Latitude(from), Longitude(from)), Latitude(to),
            Longitude(to), tracker::MakeSpacePoint(Latitude(to), Longitude(to)));
        if (!line) continue;
        const tracker::DistanceBounds bounds = tracker::BoundDistance(*line);
        if (bounds.low <= metres && metres < bounds.high) return {place, step_north, step_east};
      }
    }
  }
  return {};
}

// About `count` fixes of driving in all four quadrants, with each kind of trouble a log has.
PointStore MadeUpDrive(int count, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double starts[][2] = {{37.5, 127.0}, {-37.8, 144.9}, {-34.6, -58.4}, {51.48, -0.01}, {-0.001, -78.5}};
  PointStore points;
  long long clock = 23 * 3600 + 40 * 60;  // seconds since 2013-01-01 00:00 UTC
  const auto add = [&](double latitude, double longitude, double knots) {
    const long long day = clock / 86400;
    char speed[16];
    std::snprintf(speed, sizeof speed, "%05.1f", knots);
    points.push_back(tracker_test::MakePoint(static_cast<int>(20130101 + day),
                                             tracker_test::Clock(static_cast<int>(clock % 86400)), latitude, longitude,
                                             speed));
  };
  for (const auto& start : starts) {
    double latitude = start[0], longitude = start[1], heading = unit(random) * 6.28, speed = 10.0;  // m/s
    const auto move = [&](double metres) {
      latitude += metres * std::cos(heading) / 111320.0;
      longitude += metres * std::sin(heading) / (111320.0 * std::cos(latitude * M_PI / 180.0));
    };
    const int end = static_cast<int>(points.size()) + count / 5;
    while (static_cast<int>(points.size()) < end) {
      const double event = unit(random);
      if (event < 0.003) {  // a tunnel, often at motorway speed
        const int gap = 31 + static_cast<int>(unit(random) * 90);
        clock += gap;
        move((unit(random) < 0.5 ? 29.0 : speed) * gap);
      } else if (event < 0.004) {  // parked: the same fix again and again, or the camera off
        for (int k = static_cast<int>(unit(random) * 40); k > 0; --k, ++clock) add(latitude, longitude, 0.0);
        clock += unit(random) < 0.5 ? 700 + static_cast<int>(unit(random) * 5000) : 0;
        speed = 0.0;
      } else if (event < 0.0055) {  // a glitch: a few fixes kilometres away
        const double jump = (unit(random) - 0.5) * 0.3;
        for (int k = 1 + static_cast<int>(unit(random) * 6); k > 0; --k, ++clock) {
          add(latitude + jump, longitude - jump, speed * 1.94);
        }
      } else if (event < 0.006) {  // the clock goes back, or repeats a second
        clock -= static_cast<long long>(unit(random) * 4);
      } else if (event < 0.0065) {  // faster than the filter allows for a moment
        move(85.0 + unit(random) * 3.0);
        ++clock;
      }
      speed = std::clamp(speed + (unit(random) - 0.45) * 2.0, 0.0, 40.0);
      heading += (unit(random) - 0.5) * 0.3;
      move(speed);
      ++clock;
      add(latitude, longitude, speed * 1.94);
    }
    clock += 9 * 3600;  // overnight
  }
  return points;
}

TEST(ScanEquivalence, FastPathsGiveWhatThePlainWalkGives) {
  PointStore points = MadeUpDrive(160000, 2013);

  // Where the bounds leave the judgement in doubt, Vincenty's formula settles it: a stretch
  // jumped into whose mean speed is within a millimetre a second of 100 km/h (back and forth
  // over one step), and a pair within a millimetre of the break speed, which decides whether
  // the three pairs after it are a run of their own (and go) or part of the drive.
  const long base_east = 1000000;
  const Doubt rate = StepInDoubt(4450000, base_east, tracker::kSegmentRateLimit);
  const Doubt jump = StepInDoubt(4550000, base_east, tracker::kBreakSpeed);
  ASSERT_GT(rate.step_north, 0);
  ASSERT_GT(jump.step_north, 0);
  const long base_north = rate.north;
  const long break_north = jump.north;
  const int day = 20130301;
  int second = 8 * 3600;
  for (int i = 0; i < 60; ++i)
    points.push_back(GridPoint(day, second++, base_north - 20000 + i * 10, base_east, "030.0"));
  second += 40;  // crossed faster than 300 km/h: the stretch after it was jumped into
  for (int i = 0; i < 50; ++i) {
    const long step = i % 2;
    points.push_back(
        GridPoint(day, second++, base_north + step * rate.step_north, base_east + step * rate.step_east, "054.0"));
  }
  second += 40;
  for (int i = 29; i >= 0; --i) points.push_back(GridPoint(day, second++, break_north - i * 10, base_east, "030.0"));
  for (int i = 0; i < 3; ++i) {
    points.push_back(
        GridPoint(day, second++, break_north + jump.step_north + i * 10, base_east + jump.step_east, "030.0"));
  }
  second += 100;
  for (int i = 0; i < 40; ++i)
    points.push_back(GridPoint(day, second++, break_north + 1000 + i * 10, base_east, "030.0"));

  const PointStore expected_points = ReferenceFilter(points);
  tracker_test::FakeScanHost host;
  tracker::FilterOutliers(points, host);
  ASSERT_EQ(points.size(), expected_points.size());
  ASSERT_EQ(std::memcmp(points.data(), expected_points.data(), points.size() * sizeof(TrackPoint)), 0);
  ASSERT_LT(points.size(), 160000u);  // glitches went

  for (const int zone_index : {71, 10}) {  // UTC+9 and a zone west of Greenwich
    SCOPED_TRACE(zone_index);
    const tracker::TimeZoneOffset zone = tracker::TimeZoneOffsetAt(zone_index);
    PointStore sorted = points;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TrackPoint& a, const TrackPoint& b) {
      return a.date_number != b.date_number ? a.date_number < b.date_number : a.time_number < b.time_number;
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const TrackPoint& a, const TrackPoint& b) {
                               return a.date_number == b.date_number && a.time_number == b.time_number;
                             }),
                 sorted.end());
    const tracker::RowTable expected_rows = ReferenceRows(sorted, tracker::OffsetSeconds(zone, false));

    PointStore built = points;
    tracker_test::FakeScanHost build_host;
    const std::optional<tracker::TripList> list = tracker::BuildTrips(built, zone, true, build_host);
    ASSERT_TRUE(list);
    ASSERT_EQ(built.size(), sorted.size());
    EXPECT_EQ(std::memcmp(built.data(), sorted.data(), built.size() * sizeof(TrackPoint)), 0);
    ASSERT_EQ(list->rows.size(), expected_rows.size());
    ASSERT_GT(list->rows.size(), 50u);
    for (std::size_t i = 0; i < expected_rows.size(); ++i) {
      EXPECT_EQ(std::memcmp(&list->rows[i], &expected_rows[i], sizeof(TripRecord)), 0) << "row " << i;
    }
  }
}

}  // namespace
