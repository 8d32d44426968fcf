// Figures of the manager's main window, offscreen: start to the first painted window, a row
// click to the first frame on screen, one full paint with the graph of a one-hour recording,
// and the process's CPU while both channels play at 1x.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include <QPainter>
#include "common/gui/message_box.h"
#include "gui_bench.h"
#include "manager/app/manager_window.h"
#include "manager/display/sensor_graph.h"
#include "manager/display/video_widget.h"
#include "manager/recording/user_data_writer.h"
#include "tools/samplecard/camera_video.h"

namespace {

using gui_bench::WaitFor;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The moment the window's first paint begins (the paint itself takes well under a millisecond,
// see the full paint below).
struct FirstPaint : QObject {
  bool painted = false;
  Clock::time_point at;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted) {
      painted = true;
      at = Clock::now();
    }
    return false;
  }
};

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A front and rear recording of `seconds` with the camera's picture, made once and kept in /tmp.
fs::path Recordings(int seconds, std::size_t gsensorSamples) {
  const fs::path folder = fs::temp_directory_path() /
                          ("blackbox-bench-window-" + std::to_string(seconds) + "-" + std::to_string(gsensorSamples));
  const fs::path front = folder / "drf_20240101_120000.mp4";
  if (fs::exists(front)) return folder;
  recording::UserDataContent content;
  const std::size_t fixes = gsensorSamples / 10;
  for (std::size_t i = 0; i < fixes; ++i) {
    content.times.push_back(static_cast<std::int32_t>(1704110400 + i));
    content.gpsSentences.push_back(recording::FormatRmcSentence(static_cast<std::time_t>(1704110400 + i),
                                                                37.5 + i * 1e-4, 127.0 + i * 1e-4, 30.0, 45.0));
  }
  for (std::size_t i = 0; i < gsensorSamples; ++i) {
    const float t = static_cast<float>(i) * 0.01f;
    content.gsensor.push_back({0.98f + 0.05f * std::sin(t * 3), 0.3f * std::sin(t), 0.2f * std::cos(t * 0.7f)});
  }
  const std::string udta = recording::BuildUserDataBox(content);
  WriteFileBytes(folder / ".part" / front.filename(),
                 samplecard::EncodeCameraVideo({1280, 720, seconds, 1704110400, "FRONT"}) + udta);
  WriteFileBytes(folder / ".part" / "drr_20240101_120000.mp4",
                 samplecard::EncodeCameraVideo({640, 480, seconds, 1704110400, "REAR"}) + udta);
  fs::rename(folder / ".part" / "drr_20240101_120000.mp4", folder / "drr_20240101_120000.mp4");
  fs::rename(folder / ".part" / front.filename(), front);
  return folder;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-48s min %7.2f ms  median %7.2f ms  max %7.2f ms  (n=%zu)\n", what, ms.front(), ms[ms.size() / 2],
              ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = Clock::now();
  gui_bench::PrepareHeadlessWebViews("none");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  gui::SetMessageRecording(true);
  const fs::path work = fs::temp_directory_path() / "blackbox-bench-window-work";
  fs::create_directories(work);
  fs::current_path(work);

  // 1. Start (main) to the first painted window, then the same for further windows.
  {
    std::vector<double> again;
    for (int i = 0; i < 6; ++i) {
      const auto begin = i == 0 ? start : Clock::now();
      FirstPaint first;
      app::ManagerWindow window(setup::kDualProfile);
      window.installEventFilter(&first);
      window.show();
      if (!WaitFor([&] { return first.painted; })) return 1;
      const double ms = Ms(first.at - begin);
      if (i == 0) {
        std::printf("%-48s %7.2f ms\n", "start (main) to first painted window", ms);
      } else {
        again.push_back(ms);
      }
    }
    Report("another window to its first paint", again);
  }

  const fs::path longGraph = Recordings(2, 36'000);
  const fs::path twenty = Recordings(20, 200);

  // 2. A row click to the first frame painted (1280 x 720 front, 640 x 480 rear).
  {
    app::ManagerWindow window(setup::kDualProfile);
    window.show();
    window.mapView();  // the web view starts once, after the first paint; not part of a click
    WaitFor([] { return false; }, 1000);
    window.LoadFolder(twenty.string());
    std::vector<double> clicks;
    for (int i = 0; i < 8; ++i) {
      window.OnCommand(1121);  // stop
      QCoreApplication::processEvents();
      const int before = window.VideoWindow(0)->PaintedFrames();
      const auto begin = Clock::now();
      window.ClickRow(0);
      if (!WaitFor([&] { return window.VideoWindow(0)->PaintedFrames() > before; })) return 1;
      clicks.push_back(Ms(Clock::now() - begin));
    }
    Report("row click to first frame painted", clicks);

    // 4. CPU of the process while both channels play at 1x.
    window.OnCommand(1121);
    window.ClickRow(0);
    WaitFor([&] { return window.VideoWindow(1)->PaintedFrames() > 0; });
    const int frames0 = window.VideoWindow(0)->PaintedFrames();
    const int frames1 = window.VideoWindow(1)->PaintedFrames();
    const double cpu = CpuSeconds();
    const auto begin = Clock::now();
    WaitFor([] { return false; }, 10'000);
    const double wall = Ms(Clock::now() - begin) / 1000.0;
    std::printf("%-48s %6.1f %% of one core over %.1f s (%d and %d frames painted)\n",
                "CPU while both channels play at 1x", 100.0 * (CpuSeconds() - cpu) / wall, wall,
                window.VideoWindow(0)->PaintedFrames() - frames0, window.VideoWindow(1)->PaintedFrames() - frames1);
  }

  // 3. One full paint of the window with the graph of a one-hour recording.
  {
    app::ManagerWindow window(setup::kDualProfile);
    window.show();
    window.LoadFolder(longGraph.string());
    window.ClickRow(0);
    WaitFor([&] { return window.VideoWindow(0)->PaintedFrames() > 0; });
    window.OnCommand(1117);  // pause
    std::vector<double> paints;
    for (int i = 0; i < 200; ++i) {
      const auto begin = Clock::now();
      window.repaint();
      paints.push_back(Ms(Clock::now() - begin));
    }
    Report("full paint, graph of 36,000 samples", paints);
    paints.clear();
    QImage image(1024, 768, QImage::Format_RGB32);
    for (int i = 0; i < 50; ++i) {
      const auto begin = Clock::now();
      display::SensorTraces traces;
      traces.Build(window.sensorRecord(), setup::kDualProfile.gsensor_axes);
      paints.push_back(Ms(Clock::now() - begin));
    }
    Report("mapping the 36,000 samples (once per opening)", paints);
    paints.clear();
    for (int i = 0; i < 200; ++i) {
      const auto begin = Clock::now();
      window.VideoWindow(0)->repaint();
      paints.push_back(Ms(Clock::now() - begin));
    }
    Report("video window alone", paints);
  }
  return 0;
}
