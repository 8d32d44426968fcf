// The tracker window opening a card's worth of GPS logs (the sample card's large preset, about
// a million fixes in a thousand files): the time from the Open until the rows are listed, the
// first row is shown and the window has painted, and the longest the GUI thread was kept from
// its events meanwhile (a 1 ms heartbeat timer measures the gaps between its ticks).
// Run headless: QT_QPA_PLATFORM=offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "gui_bench.h"
#include "tools/samplecard/card.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/settings/settings_store.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/tracker_window.h"

namespace {

const std::filesystem::path& LargeCardLogs() {
  static const std::filesystem::path logs = [] {
    const std::filesystem::path card =
        std::filesystem::temp_directory_path() / "blackbox_bench_tracker_window" / "card";
    const std::filesystem::path done = card / ".complete";
    if (!std::filesystem::exists(done)) {
      std::filesystem::remove_all(card);
      samplecard::WriteCard(card, samplecard::PresetOptions(samplecard::Preset::Large));
      std::FILE* mark = std::fopen(done.c_str(), "w");
      if (mark) std::fclose(mark);
    }
    return card / samplecard::kLogFolder;
  }();
  return logs;
}

void BM_OpenLargeFolder(benchmark::State& state) {
  const QString logs = QString::fromStdString(LargeCardLogs().string());
  double longest_block_ms = 0;
  double rows_shown_ms = 0;
  std::size_t points = 0;
  int rows = 0;
  for (auto _ : state) {
    tracker::MemorySettingsStore settings;
    tracker::TrackerWindow window(tracker::kCurrentProfile, settings, tracker::LayoutKind::kLarge);
    window.show();
    QApplication::processEvents();

    QElapsedTimer beat_clock;
    qint64 last_beat = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    qint64 finished_at = -1;
    qint64 longest_after = 0;
    QObject::connect(&window, &tracker::TrackerWindow::ScanFinished, [&] { finished_at = beat_clock.nsecsElapsed(); });
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
      const qint64 now = beat_clock.nsecsElapsed();
      if (finished_at >= 0 && last_beat <= finished_at) longest_after = std::max(longest_after, now - last_beat);
      longest = std::max(longest, now - last_beat);
      last_beat = now;
    });

    QElapsedTimer clock;
    clock.start();
    beat_clock.start();
    heartbeat.start();
    if (window.OpenPath(logs) != tracker::TrackerWindow::OpenStart::kStarted) {
      state.SkipWithError("the folder did not open");
      return;
    }
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
      if (!window.Busy()) loop.quit();
    });
    check.start(1);
    loop.exec();
    window.repaint();  // the rows and the first row's figures on screen
    const double elapsed_ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    heartbeat.stop();
    // The last gap, up to the end of the paint, counts too.
    longest = std::max(longest, beat_clock.nsecsElapsed() - last_beat);
    state.SetIterationTime(elapsed_ms / 1000.0);
    std::fprintf(stderr, "elapsed %.1f ms, longest gap %.1f ms, gap spanning the finish %.1f ms, finished at %.1f ms\n",
                 elapsed_ms, longest / 1e6, longest_after / 1e6, finished_at / 1e6);

    rows_shown_ms = std::max(rows_shown_ms, elapsed_ms);
    longest_block_ms = std::max(longest_block_ms, static_cast<double>(longest) / 1e6);
    points = window.document().points.size();
    rows = window.model()->rowCount();
  }
  state.counters["rows_shown_ms(worst)"] = rows_shown_ms;
  state.counters["gui_block_ms(worst)"] = longest_block_ms;
  state.counters["points"] = static_cast<double>(points);
  state.counters["rows"] = rows;
}

BENCHMARK(BM_OpenLargeFolder)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  // The window's map is a web view, offline here.
  gui_bench::PrepareHeadlessWebViews("none");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  LargeCardLogs();  // made before any timing
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
