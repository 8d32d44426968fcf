// The tracker's replay, offline (the tile server refuses every connection): a 10,000-point
// drive from the sample card's route maker shown on map_ex.html in the large map area and
// played forward at step 1 on the 3 ms playback timer. Figures: the timer's ticks per second,
// the steps actually taken per second (a tick waits while the last marker is still on its way
// to the page), the GUI thread's time inside a tick, and a marker's round trip to the page.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "common/webmap/page_call.h"
#include "common/webmap/tile_source.h"
#include "gui_bench.h"
#include "tests/tracker/log/make_point.h"
#include "tools/samplecard/route.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/local_time.h"
#include "tracker/map/browser_host.h"
#include "tracker/map/page_values.h"
#include "tracker/map/replay_driver.h"

namespace {

using gui_bench::WaitFor;

constexpr int kDrivePoints = 10000;
const QRect kLargeMap(337, 31, 680, 684);

tracker::PointStore DrivePoints() {
  samplecard::Random random(7);
  samplecard::Place from;
  const std::time_t start = 1710489600;  // 2024-03-15 08:00:00 UTC
  tracker::PointStore points;
  // The log keeps valid fixes only; a little more drive than needed covers the gaps.
  for (const samplecard::RouteFix& fix : samplecard::Drive(random, start, kDrivePoints + kDrivePoints / 10, from)) {
    if (!fix.valid) continue;
    if (points.size() == kDrivePoints) break;
    const std::tm utc = *std::gmtime(&fix.utc);
    const int date = (utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 + utc.tm_mday;
    const int time = utc.tm_hour * 10000 + utc.tm_min * 100 + utc.tm_sec;
    char speed[16];
    std::snprintf(speed, sizeof speed, "%05.1f", fix.knots);
    points.push_back(tracker_test::MakePoint(date, time, fix.latitude, fix.longitude, speed));
  }
  if (points.size() != kDrivePoints) std::abort();
  return points;
}

struct Scene {
  QWidget window;
  tracker::PointStore points = DrivePoints();
  tracker::TripRecord row{};
  std::unique_ptr<tracker::BrowserHost> host;

  Scene() {
    window.resize(1020, 760);
    window.show();
    host = std::make_unique<tracker::BrowserHost>(kLargeMap, &window);
    host->SetPageTexts(tracker::kCurrentProfile);
    host->show();
    if (host->Embed() != tracker::kHostOk || host->LoadPage(0) != tracker::kHostOk) std::abort();
    if (!WaitFor([&] { return host->Settled(); })) std::abort();
    row.type = tracker::RowType::kDrive;
    row.first_point = 0;
    row.point_count = static_cast<std::int32_t>(points.size());
  }
};

Scene& TheScene() {
  static Scene* scene = new Scene;
  return *scene;
}

const std::int64_t kSeoul = tracker::OffsetSeconds({9, 0}, false);

// From the row chosen to the page's answer: the values and the encoded route built, set and
// drawn.
void BM_ShowRow10000(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    const auto call = tracker::ShowRowCall(scene.row, scene.points, kSeoul, true, {true, true});
    bool answered = false;
    scene.host->Call(*call, [&](const tracker::BridgeAnswer&) { answered = true; });
    if (!WaitFor([&] { return answered; })) std::abort();
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
  }
}
BENCHMARK(BM_ShowRow10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Five seconds of replay at step 1 on the playback timer.
void BM_ReplayStep1(benchmark::State& state) {
  Scene& scene = TheScene();
  const bool showTime = state.range(0) != 0;
  double ticksPerSecond = 0, stepsPerSecond = 0, guiUsPerTick = 0, guiUsPerStep = 0, worstUs = 0;
  for (auto _ : state) {
    tracker::ReplayDriver* driver = nullptr;
    QElapsedTimer inTick;
    qint64 tickNs = 0, stepNs = 0, worstNs = 0;
    int ticks = 0;
    // Connected before the driver and after it: the two bracket its tick.
    auto before = QObject::connect(scene.host.get(), &tracker::BrowserHost::PlaybackTick, [&] { inTick.start(); });
    driver = new tracker::ReplayDriver(*scene.host);
    int stepsBefore = 0;
    auto after = QObject::connect(scene.host.get(), &tracker::BrowserHost::PlaybackTick, [&] {
      const qint64 ns = inTick.nsecsElapsed();
      ++ticks;
      tickNs += ns;
      worstNs = std::max(worstNs, ns);
      if (driver->stepsTaken() != stepsBefore) stepNs += ns;
      stepsBefore = driver->stepsTaken();
    });
    driver->SetRowsExist(true);
    driver->SetOffsetSeconds(kSeoul);
    driver->SetShowTimeReader([showTime] { return showTime; });
    driver->SetRow(&scene.points, 0, kDrivePoints);
    driver->ShowFirstPoint();
    if (!WaitFor([&] { return !driver->markerInFlight(); })) std::abort();

    QElapsedTimer clock;
    clock.start();
    driver->PressPlay(tracker::Direction::kForward);
    WaitFor([] { return false; }, 5000);
    driver->Stop();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const int steps = driver->stepsTaken();
    ticksPerSecond = ticks / seconds;
    stepsPerSecond = steps / seconds;
    guiUsPerTick = ticks ? tickNs / 1e3 / ticks : 0;
    guiUsPerStep = steps ? stepNs / 1e3 / steps : 0;
    worstUs = worstNs / 1e3;
    QObject::disconnect(before);
    QObject::disconnect(after);
    WaitFor([&] { return !driver->markerInFlight(); });
    delete driver;
  }
  state.counters["timer_ticks_per_s"] = ticksPerSecond;
  state.counters["steps_per_s"] = stepsPerSecond;
  state.counters["gui_us_per_tick"] = guiUsPerTick;
  state.counters["gui_us_per_step"] = guiUsPerStep;
  state.counters["worst_tick_us"] = worstUs;
}
BENCHMARK(BM_ReplayStep1)->ArgName("showtime")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// The program's share of a tick without the page: the marker's values and the script that
// carries them.
void BM_BuildMarkerScript(benchmark::State& state) {
  Scene& scene = TheScene();
  int i = 0;
  for (auto _ : state) {
    const tracker::TrackPoint& point = scene.points[static_cast<std::size_t>(i++ % kDrivePoints)];
    const QJsonObject request = tracker::BridgeRequest(tracker::MoveMarkerCall(point, kSeoul, true), "marker");
    benchmark::DoNotOptimize(webmap::PageCallScript(tracker::kBridgeFunction, QJsonArray{request}));
  }
}
BENCHMARK(BM_BuildMarkerScript)->Unit(benchmark::kMicrosecond);

// One marker from the call to the page's answer, with the elements kept.
void BM_MarkerRoundTrip(benchmark::State& state) {
  Scene& scene = TheScene();
  int i = 0;
  for (auto _ : state) {
    const tracker::TrackPoint& point = scene.points[static_cast<std::size_t>(i++ % kDrivePoints)];
    bool answered = false;
    QElapsedTimer clock;
    clock.start();
    scene.host->Call(tracker::MoveMarkerCall(point, kSeoul, false),
                     [&](const tracker::BridgeAnswer&) { answered = true; });
    WaitFor([&] { return answered; });
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
  }
}
BENCHMARK(BM_MarkerRoundTrip)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Offline: port 9 (discard) refuses the connection, as a machine without network would.
  gui_bench::PrepareHeadlessWebViews("http://127.0.0.1:9/{z}/{x}/{y}.png");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete &TheScene();
  return 0;
}
