// A day-long drive, one fix a second with a small sideways wobble (86,400 fixes in one row): how
// long thinning and encoding its route takes, and the longest the tracker window's thread is
// kept from its events while the row is chosen and its route goes to the map (a 1 ms heartbeat
// timer measures the gaps between its ticks). Run headless: QT_QPA_PLATFORM=offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "gui_bench.h"
#include "tests/tracker/log/fake_scan_host.h"
#include "tests/tracker/log/make_point.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/settings/settings_store.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/tracker_window.h"
#include "tracker/log/route_encoding.h"
#include "tracker/log/trip_builder.h"
#include "tracker/log/trip_database.h"
#include "tracker/map/browser_host.h"

namespace {

constexpr int kFixes = 24 * 3600;

// North at about 4 km/h, two metres left and right of the line on every other fix.
const tracker::PointStore& ZigZagDay() {
  static const tracker::PointStore points = [] {
    tracker::PointStore store;
    store.reserve(kFixes);
    for (int i = 0; i < kFixes; ++i) {
      store.push_back(tracker_test::MakePoint(20130101, tracker_test::Clock(i), 37.0 + 1e-5 * i,
                                              127.0 + (i % 2 ? 2e-5 : -2e-5), "002.1"));
    }
    return store;
  }();
  return points;
}

const tracker::TripRecord& DriveRow(const tracker::TripList& trips) {
  for (const tracker::TripRecord& row : trips.rows) {
    if (row.type == tracker::RowType::kDrive) return row;
  }
  return trips.rows.front();
}

void BM_ThinZigZagDay(benchmark::State& state) {
  tracker_test::FakeScanHost host;
  const tracker::TripList trips = *tracker::CutTrips(ZigZagDay(), {0, 0}, host);
  const tracker::TripRecord& row = DriveRow(trips);
  double worst_ms = 0;
  std::size_t kept = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    const tracker::EncodedRoute route = tracker::EncodeRowRoute(row, ZigZagDay(), true);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    state.SetIterationTime(ms / 1000.0);
    worst_ms = std::max(worst_ms, ms);
    kept = route.levels.size();
  }
  std::fprintf(stderr, "thinning and encoding %d fixes: %.1f ms (worst), %zu points kept\n", row.point_count, worst_ms,
               kept);
  state.counters["fixes"] = row.point_count;
  state.counters["kept"] = static_cast<double>(kept);
  state.counters["thin_ms(worst)"] = worst_ms;
}
BENCHMARK(BM_ThinZigZagDay)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_ChooseZigZagRow(benchmark::State& state) {
  tracker_test::FakeScanHost host;
  const tracker::TripList trips = *tracker::CutTrips(ZigZagDay(), {0, 0}, host);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "blackbox_bench_tracker_route.KEL";
  if (!tracker::SaveTripDatabase(file, trips.rows, ZigZagDay(), tracker::kCurrentProfile.database_magic)) {
    state.SkipWithError("the trip database could not be written");
    return;
  }
  tracker::MemorySettingsStore settings;
  tracker::TrackerWindow window(tracker::kCurrentProfile, settings, tracker::LayoutKind::kLarge);
  window.show();
  window.OpenPath(QString::fromStdString(file.string()));
  gui_bench::WaitFor([&] { return !window.Busy() && window.map()->Settled(); });
  int drive = 0;
  while (drive < window.model()->rowCount() &&
         window.document().trips.rows[static_cast<std::size_t>(window.model()->RowIndexAt(drive))].type !=
             tracker::RowType::kDrive) {
    ++drive;
  }

  double worst_gap_ms = 0;
  double worst_shown_ms = 0;
  int round = 0;
  for (auto _ : state) {
    // Away to the day row and back, so each round shows the long route anew.
    window.SelectRow(drive == 0 ? 1 : 0);
    gui_bench::WaitFor([&] { return !window.Busy() && window.map()->Settled(); });

    QElapsedTimer clock;
    qint64 last_beat = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, now - last_beat);
      last_beat = now;
    });
    clock.start();
    heartbeat.start();
    window.SelectRow(drive);
    gui_bench::WaitFor([&] { return !window.Busy() && window.map()->Settled(); }, 60000);
    const double shown_ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    longest = std::max(longest, clock.nsecsElapsed() - last_beat);
    heartbeat.stop();
    state.SetIterationTime(shown_ms / 1000.0);
    std::fprintf(stderr, "round %d: route on the map after %.1f ms, longest window stall %.1f ms\n", ++round, shown_ms,
                 static_cast<double>(longest) / 1e6);
    worst_shown_ms = std::max(worst_shown_ms, shown_ms);
    worst_gap_ms = std::max(worst_gap_ms, static_cast<double>(longest) / 1e6);
  }
  state.counters["shown_ms(worst)"] = worst_shown_ms;
  state.counters["window_stall_ms(worst)"] = worst_gap_ms;
  std::filesystem::remove(file);
}
BENCHMARK(BM_ChooseZigZagRow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  // The window's map is a web view, offline here.
  gui_bench::PrepareHeadlessWebViews("none");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
