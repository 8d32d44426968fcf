// Playback figures: two channels (1280x720 and 640x480, 30 fps) playing together at rate 4.0 on
// the pipeline clock, every shown frame converted to RGB as a window would; and the time from
// BuildGraph to the first frame on the surface for a 1280x720 recording.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#include "manager/playback/build_graph.h"
#include "manager/playback/graph_event.h"
#include "manager/playback/gstreamer.h"
#include "manager/playback/transport.h"
#include "tools/samplecard/clip_encoder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSeconds = 20;
constexpr int kFrameRate = 30;
constexpr std::int64_t kLateUnits = 20 * 10'000;  // 20 ms, a video sink's own limit

const fs::path& Recording(int width, int height) {
  static std::mutex mutex;
  static std::map<int, fs::path> made;
  std::lock_guard lock(mutex);
  if (const auto it = made.find(width); it != made.end()) return it->second;
  const fs::path path = fs::temp_directory_path() / ("blackbox-bench-" + std::to_string(width) + ".mp4");
  samplecard::ClipOptions options;
  options.width = width;
  options.height = height;
  options.frameRate = kFrameRate;
  options.seconds = kSeconds;
  options.videoSource = "testsrc2=size=" + std::to_string(width) + "x" + std::to_string(height) + ":rate=30";
  if (!fs::exists(path) && !samplecard::EncodeClip(path, options)) std::abort();
  return made.emplace(width, path).first->second;
}

// A window that turns every frame into RGB, as the snapshot and a painter would.
class RgbSurface : public playback::VideoSurface {
 public:
  playback::VideoRect ClientRect() const override { return {0, 0, 640, 480}; }
  void PresentFrame(playback::VideoFramePtr frame) override {
    // A picture shown again after a seek (the preroll) is not a new frame.
    if (frame->Position() == lastPosition_) return;
    lastPosition_ = frame->Position();
    if (frames_.fetch_add(1) == 0) first_ = Clock::now();
    const playback::VideoSize size = frame->Size();
    rgb_.resize(static_cast<std::size_t>(size.width) * size.height * 3);
    std::uint8_t* out = rgb_.data();
    for (std::int32_t y = 0; y < size.height; ++y) {
      const auto row = frame->Row(y);
      for (std::size_t x = 0; x + 3 < row.size(); x += 4) {
        *out++ = row[x + 2];
        *out++ = row[x + 1];
        *out++ = row[x];
      }
    }
    if (frame->Lateness() > kLateUnits) late_.fetch_add(1);
  }
  void PaintFrame(const playback::VideoFrame*, const playback::VideoRect&) override {}
  void Invalidate() override {}
  void ShowAndUpdate() override {}

  int Frames() const { return frames_.load(); }
  int Late() const { return late_.load(); }
  Clock::time_point First() const { return first_; }

 private:
  std::atomic<int> frames_{0};
  std::atomic<int> late_{0};
  Clock::time_point first_;
  std::int64_t lastPosition_ = -1;
  std::vector<std::uint8_t> rgb_;
};

struct NoMessages : playback::MessageBox {
  void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

struct Ended : playback::GraphEventCallback {
  bool ended = false;
  void OnGraphEvent(playback::GraphEventCode code, std::intptr_t, std::intptr_t) override {
    ended = ended || code == playback::GraphEventCode::kEndOfStream || code == playback::GraphEventCode::kError;
  }
};

struct BenchChannel {
  playback::CVideo video;
  RgbSurface surface;
  playback::GraphNotifyWaiter waiter;
  playback::ResultBlock result;
  Ended ended;

  bool Build(const fs::path& path, int index) {
    playback::AttachWindow(video, &surface);
    video.notifyWindow = &waiter;
    video.notifyMessage = playback::kGraphNotifyMessage;
    video.filters.audioRenderer.clear();
    playback::ChannelSettings settings;
    settings.eventsOn = 1;
    NoMessages messages;
    return playback::BuildGraph(video, &result, path.string(), index, settings, 1, messages);
  }
  void WaitForEnd() {
    while (!ended.ended) {
      playback::PumpGraphEvents(video, &ended);
      if (!ended.ended && !waiter.Wait(std::chrono::seconds(60))) break;
    }
  }
};

void BM_BuildToFirstFrame720p(benchmark::State& state) {
  const fs::path& hd = Recording(1280, 720);
  const auto init = Clock::now();
  playback::EnsureGStreamer();  // as a program does at start-up
  state.counters["gstreamer_init_ms"] = std::chrono::duration<double, std::milli>(Clock::now() - init).count();
  std::vector<double> times;
  for (auto _ : state) {
    BenchChannel channel;
    const auto start = Clock::now();
    if (!channel.Build(hd, 0) || channel.surface.Frames() == 0) {
      state.SkipWithError("no first frame");
      return;
    }
    const double ms = std::chrono::duration<double, std::milli>(channel.surface.First() - start).count();
    times.push_back(ms);
    state.SetIterationTime(ms / 1000.0);
  }
  // The first build of the process still pays for first use of the decoders.
  state.counters["first_frame_cold_ms"] = times.front();
  std::sort(times.begin() + 1, times.end());
  state.counters["first_frame_median_ms"] = times[times.size() / 2];
  state.counters["first_frame_max_ms"] = times.back();
}
BENCHMARK(BM_BuildToFirstFrame720p)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TwoChannelsAtRate4(benchmark::State& state) {
  const fs::path& hd = Recording(1280, 720);
  const fs::path& vga = Recording(640, 480);
  for (auto _ : state) {
    BenchChannel first;
    BenchChannel second;
    if (!first.Build(hd, 0) || !second.Build(vga, 1)) {
      state.SkipWithError("build failed");
      return;
    }
    for (BenchChannel* channel : {&second, &first}) playback::SetRate(channel->video, 4.0);
    const auto start = Clock::now();
    for (BenchChannel* channel : {&second, &first}) playback::Play(channel->video);
    first.WaitForEnd();
    second.WaitForEnd();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();

    const double expected = 2.0 * kSeconds * kFrameRate;
    const double shown = first.surface.Frames() + second.surface.Frames();
    const double late = first.surface.Late() + second.surface.Late();
    const double missing = std::max(0.0, expected - shown);
    state.counters["frames_expected"] = expected;
    state.counters["frames_shown"] = shown;
    state.counters["late"] = late;
    state.counters["late_or_dropped_pct"] = 100.0 * (late + missing) / expected;
    state.counters["wall_s"] = wall;
  }
}
BENCHMARK(BM_TwoChannelsAtRate4)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
