// Map figures, offline (the tile server refuses every connection): what ShowMapPosition costs
// the GUI thread, how long a position takes to reach the page, and the time from showing the
// view to a usable page (Leaflet ready, the drive drawn, a frame on screen), for a view whose
// page loaded while hidden (the usual case) and for one created and shown at once.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>
#include <QWebEngineView>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include "common/webmap/page_call.h"
#include "common/webmap/page_drawn.h"
#include "common/webmap/tile_source.h"
#include "gui_bench.h"
#include "manager/display/map_view.h"

namespace {

using gui_bench::WaitFor;

// A drive of `points` seconds through Seoul, one fix a second.
std::vector<std::array<double, 2>> Drive(int points) {
  std::vector<std::array<double, 2>> track;
  for (int i = 0; i < points; ++i) {
    const double t = i / 60.0;
    track.push_back({37.5665 + 0.002 * t + 0.001 * std::sin(t), 126.9780 + 0.003 * t});
  }
  return track;
}

QJsonObject PageState(const display::MapView& map) { return map.State()["pageState"].toObject(); }

bool Usable(const display::MapView& map, int trackPoints) {
  const QJsonObject state = PageState(map);
  return map.Settled() && state["ready"].toBool() && state["trackPoints"].toInt() == trackPoints;
}

QWidget& Window() {
  static QWidget* window = [] {
    auto* w = new QWidget;
    w->resize(1024, 768);
    w->show();
    return w;
  }();
  return *window;
}

QWebEnginePage& PageOf(display::MapView& map) { return *map.findChild<QWebEngineView*>()->page(); }

// One loaded and shown view for the call benchmarks; it goes before the application does.
std::unique_ptr<display::MapView> shownMap;

display::MapView& ShownMap() {
  if (!shownMap) {
    shownMap = std::make_unique<display::MapView>(setup::kDualProfile, &Window());
    shownMap->SetTrack(Drive(60));
    shownMap->show();
    if (!WaitFor([&] { return Usable(*shownMap, 60); })) std::abort();
  }
  return *shownMap;
}

void BM_ShowMapPosition(benchmark::State& state) {
  display::MapView& map = ShownMap();
  QWebEnginePage& page = PageOf(map);
  const auto track = Drive(60);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = track[i++ % track.size()];
    map.ShowMapPosition(p[0], p[1]);
    if (i % 50 == 0) {
      // Let the page take what was sent, as the event loop would between two ticks.
      state.PauseTiming();
      webmap::RunScriptAndWait(page, "0");
      state.ResumeTiming();
    }
  }
  webmap::RunScriptAndWait(page, "0");
}
BENCHMARK(BM_ShowMapPosition)->Unit(benchmark::kMicrosecond);

// From the call to the page's answer with the marker moved.
void BM_PositionReachesThePage(benchmark::State& state) {
  display::MapView& map = ShownMap();
  QWebEnginePage& page = PageOf(map);
  double lat = 37.5665;
  for (auto _ : state) {
    lat += 0.0001;
    bool answered = false;
    QElapsedTimer clock;
    clock.start();
    webmap::CallPage(page, "animate", QJsonArray{126.9780, lat},
                     [&](const webmap::PageCallResult&) { answered = true; });
    WaitFor([&] { return answered; });
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
  }
}
BENCHMARK(BM_PositionReachesThePage)->UseManualTime()->Unit(benchmark::kMillisecond);

// The page loaded while the view was hidden; the recording opens: SetTrack, show.
void BM_ShowToUsable(benchmark::State& state) {
  const int points = int(state.range(0));
  const auto track = Drive(points);
  for (auto _ : state) {
    auto map = std::make_unique<display::MapView>(setup::kDualProfile, &Window());
    if (!WaitFor([&] { return map->Settled() && PageState(*map)["ready"].toBool(); })) std::abort();
    QElapsedTimer clock;
    clock.start();
    map->SetTrack(track);
    map->ShowMapPosition(track[points / 2][0], track[points / 2][1]);
    map->show();
    if (!WaitFor([&] { return Usable(*map, points); })) std::abort();
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
  }
}
BENCHMARK(BM_ShowToUsable)->Arg(60)->Arg(3600)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// A recording opened the moment the window starts: the page loads and draws in one go.
void BM_CreateShowToUsable(benchmark::State& state) {
  const auto track = Drive(60);
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    auto map = std::make_unique<display::MapView>(setup::kDualProfile, &Window());
    map->SetTrack(track);
    map->show();
    if (!WaitFor([&] { return Usable(*map, 60); })) std::abort();
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
  }
}
BENCHMARK(BM_CreateShowToUsable)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  // Offline: port 9 (discard) refuses the connection, as a machine without network would.
  gui_bench::PrepareHeadlessWebViews("http://127.0.0.1:9/{z}/{x}/{y}.png");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);

  // The very first view of the process also starts the web engine's own processes.
  {
    QElapsedTimer clock;
    clock.start();
    display::MapView map(setup::kDualProfile, &Window());
    map.SetTrack(Drive(60));
    map.show();
    if (!WaitFor([&] { return Usable(map, 60); })) return 1;
    std::printf("first map of the process, created and shown to usable: %.0f ms\n", clock.nsecsElapsed() / 1e6);
  }

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shownMap.reset();
  delete &Window();
  return 0;
}
