// Figures of the playback engine as the manager's window drives it, offscreen:
//   - a row click to the first frame painted, for the first click of the process (GStreamer
//     warmed in the background while the window was on show) and for later clicks;
//   - the longest stall of the window thread while it opens each hostile file (the gap between
//     two ticks of a 1 ms timer);
//   - after Play, then Pause at various delays: how far the painted picture is from the
//     position the window shows;
//   - the longest stall of the window thread while the user seeks, steps and changes the rate.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "common/gui/message_box.h"
#include "gui_bench.h"
#include "manager/app/manager_window.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/video_widget.h"
#include "manager/playback/transport.h"
#include "tests/manager/playback/playback_fixtures.h"
#include "tools/samplecard/clip_encoder.h"

namespace {

using gui_bench::WaitFor;
namespace fs = std::filesystem;
namespace commands = display::commands;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-52s min %7.2f ms  median %7.2f ms  max %7.2f ms  (n=%zu)\n", what, ms.front(), ms[ms.size() / 2],
              ms.back(), ms.size());
}

// The longest gap between two ticks of a 1 ms timer on the window thread.
class StallMeter {
 public:
  StallMeter() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const auto now = Clock::now();
      longest_ = std::max(longest_, Ms(now - last_));
      last_ = now;
    });
    timer_.setTimerType(Qt::PreciseTimer);
  }
  void Start() {
    longest_ = 0;
    last_ = Clock::now();
    timer_.start(1);
  }
  double Stop() {
    timer_.stop();
    return longest_;
  }

 private:
  QTimer timer_;
  Clock::time_point last_;
  double longest_ = 0;
};

// A card of one 1280x720, 10 s recording with its rear channel, made once and kept in /tmp.
fs::path SoundCard() {
  const fs::path folder = fs::temp_directory_path() / "blackbox-bench-playback-window";
  const fs::path front = folder / "EVENT" / "drf_20240101_120000.mp4";
  if (fs::exists(front)) return folder;
  fs::create_directories(front.parent_path());
  samplecard::ClipOptions options;
  options.width = 1280;
  options.height = 720;
  options.frameRate = 30;
  options.seconds = 10;
  if (!samplecard::EncodeClip(folder / "part.mp4", options)) std::abort();
  options.width = 640;
  options.height = 480;
  if (!samplecard::EncodeClip(folder / "EVENT" / "drr_20240101_120000.mp4", options)) std::abort();
  fs::rename(folder / "part.mp4", front);
  return folder;
}

// A card with the hostile files, in the order of kHostileFiles.
fs::path HostileCard() {
  const fs::path folder = fs::temp_directory_path() / "blackbox-bench-playback-hostile";
  fs::remove_all(folder);
  fs::create_directories(folder / "EVENT");
  int second = 10;
  for (const auto& file : playback_testing::kHostileFiles) {
    fs::copy_file(playback_testing::ClipPath(file.clip),
                  folder / "EVENT" / ("drf_20240101_0000" + std::to_string(second++) + ".mp4"));
  }
  return folder;
}

// Clicks `row` from the event loop, as a user's click arrives, and waits for `done`.
bool ClickAndWait(app::ManagerWindow& window, int row, const std::function<bool()>& done) {
  QMetaObject::invokeMethod(
      &window, [&window, row] { window.ClickRow(row); }, Qt::QueuedConnection);
  return WaitFor(done, 20000);
}

}  // namespace

int main(int argc, char** argv) {
  gui_bench::PrepareHeadlessWebViews("none");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  gui::SetMessageRecording(true);
  const fs::path work = fs::temp_directory_path() / "blackbox-bench-window-work";
  fs::create_directories(work);
  fs::current_path(work);
  const fs::path card = SoundCard();
  const fs::path hostile = HostileCard();

  app::ManagerWindow window(setup::kDualProfile);
  window.show();
  window.mapView();
  // A user looks at the list for a moment before the first click.
  WaitFor([] { return false; }, 1500);
  window.LoadFolder(card.string());
  display::VideoWidget& front = *window.VideoWindow(0);

  // 1. Open to first frame.
  {
    const auto begin = Clock::now();
    if (!ClickAndWait(window, 0, [&] { return front.PaintedFrames() > 0; })) return 1;
    std::printf("%-52s %7.2f ms\n", "first row click of the process to first frame", Ms(Clock::now() - begin));
    std::vector<double> later;
    for (int i = 0; i < 8; ++i) {
      window.OnCommand(commands::kStop);
      QCoreApplication::processEvents();
      const int before = front.PaintedFrames();
      const auto start = Clock::now();
      if (!ClickAndWait(window, 0, [&] { return front.PaintedFrames() > before; })) return 1;
      later.push_back(Ms(Clock::now() - start));
    }
    Report("later row clicks to first frame", later);
  }

  // 2. The longest window stall while each hostile file is opened (and refused).
  {
    window.OnCommand(commands::kStop);
    window.LoadFolder(hostile.string());
    StallMeter meter;
    int row = 0;
    for (const auto& file : playback_testing::kHostileFiles) {
      gui::ClearRecordedMessages();
      meter.Start();
      const auto begin = Clock::now();
      if (!ClickAndWait(window, row++, [] { return gui::RecordedMessages().size() >= 2; })) return 1;
      const double settled = Ms(Clock::now() - begin);
      WaitFor([] { return false; }, 100);
      std::printf("%-52s stall %7.2f ms, refused after %7.2f ms\n", (std::string("hostile file: ") + file.what).c_str(),
                  meter.Stop(), settled);
    }
    window.LoadFolder(card.string());
    meter.Start();
    if (!ClickAndWait(window, 0, [&] { return front.PaintedFrames() > 0 && window.playState() == app::kPlaying; })) {
      return 1;
    }
    WaitFor([] { return false; }, 300);
    std::printf("%-52s stall %7.2f ms\n", "a sound recording, for comparison", meter.Stop());
  }

  // 3. Pause after Play: the painted picture against the position shown.
  {
    std::vector<double> errors;
    for (int delay : {0, 1, 5, 20, 50, 100, 300, 700}) {
      window.OnCommand(commands::kStop);
      if (!ClickAndWait(window, 0, [&] { return window.playState() == app::kPlaying; })) return 1;
      WaitFor([] { return false; }, delay);
      window.OnCommand(commands::kPause);
      WaitFor([] { return false; }, 400);
      std::int64_t position = 0;
      playback::ReadPosition(front.video(), &position);
      const double error = std::abs(static_cast<double>(front.PaintedPosition() - position)) / 10'000.0;
      std::printf("%-52s %7.2f ms  (pause %d ms after play)\n", "painted picture - position", error, delay);
      errors.push_back(error);
    }
    Report("painted picture - position, all delays", errors);
  }
  // 4. Transport on a playing recording: every seek, step and rate change is a flushing seek
  // that completes on the bus, not on the window thread.
  {
    window.OnCommand(commands::kStop);
    if (!ClickAndWait(window, 0, [&] { return window.playState() == app::kPlaying; })) return 1;
    StallMeter meter;
    const auto measure = [&](const char* what, const std::function<void()>& action) {
      meter.Start();
      for (int i = 0; i < 5; ++i) {
        action();
        WaitFor([] { return false; }, 60);
      }
      std::printf("%-52s stall %7.2f ms\n", what, meter.Stop());
    };
    measure("seeks from the position bar", [&] {
      static int step = 0;
      window.transport().SeekAndPlay(window.duration() * (++step % 5) / 6);
    });
    measure("steps forward and back", [&] {
      static int step = 0;
      window.OnCommand(++step % 2 != 0 ? commands::kStepForward : commands::kStepBack);
    });
    measure("rate changes", [&] {
      static int step = 0;
      window.transport().OnPress(488 + (++step % 4) * 40, 640);
    });
  }
  return 0;
}