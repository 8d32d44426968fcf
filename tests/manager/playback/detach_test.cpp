// Detaching a video window while the pipeline runs: a frame or a graph notice that is being
// handed over finishes first, and nothing reaches the window afterwards. Run under
// AddressSanitizer, a call that reached a destroyed window would also be reported there.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "manager/playback/build_graph.h"
#include "manager/playback/transport.h"
#include "tests/manager/playback/playback_fixtures.h"

namespace {

using namespace playback_testing;
using namespace std::chrono_literals;

// What the test sees of a window's calls; outlives the window.
struct CallWatch {
  std::atomic<int> inside{0};
  std::atomic<int> calls{0};

  // Waits until a call is under way; false after `timeout`.
  bool WaitForCallUnderWay(std::chrono::milliseconds timeout = 10s) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (inside.load() == 0) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
};

// Takes its time with every call and touches its own state afterwards, as a window that copies
// the frame would.
class SlowSurface : public playback::VideoSurface {
 public:
  explicit SlowSurface(CallWatch& watch) : watch_(watch) {}
  playback::VideoRect ClientRect() const override { return {0, 0, 320, 240}; }
  void PresentFrame(playback::VideoFramePtr frame) override {
    ++watch_.inside;
    ++watch_.calls;
    std::this_thread::sleep_for(15ms);
    widths_.push_back(frame->Size().width);
    --watch_.inside;
  }
  void PaintFrame(const playback::VideoFrame*, const playback::VideoRect&) override {}
  void Invalidate() override {}
  void ShowAndUpdate() override {}

 private:
  CallWatch& watch_;
  std::vector<int> widths_;
};

class SlowNotifyTarget : public playback::GraphNotifyTarget {
 public:
  explicit SlowNotifyTarget(CallWatch& watch) : watch_(watch) {}
  void PostGraphNotify(std::uint32_t message) override {
    ++watch_.inside;
    ++watch_.calls;
    std::this_thread::sleep_for(15ms);
    messages_.push_back(message);
    --watch_.inside;
  }

 private:
  CallWatch& watch_;
  std::vector<std::uint32_t> messages_;
};

bool Build(playback::CVideo& video, int eventsOn) {
  video.filters.audioRenderer.clear();
  RecordedMessages messages;
  playback::ChannelSettings settings;
  settings.channelNumber = 1;
  settings.eventsOn = eventsOn;
  return playback::BuildGraph(video, nullptr, ClipPath(Clip::kVga).string(), 0, settings, 0, messages);
}

std::int64_t ShownPosition(const playback::CVideo& video) {
  const playback::VideoFramePtr frame = playback::CurrentFrame(video);
  return frame ? frame->Position() : -1;
}

TEST(DetachWindow, ASurfaceDestroyedWhileFramesFlowGetsNoMoreFrames) {
  CallWatch watch;
  playback::CVideo video;
  auto surface = std::make_unique<SlowSurface>(watch);
  ASSERT_TRUE(playback::AttachWindow(video, surface.get()));
  ASSERT_TRUE(Build(video, 0));
  playback::Play(video);

  ASSERT_TRUE(watch.WaitForCallUnderWay());
  playback::DetachWindow(video);
  EXPECT_EQ(watch.inside.load(), 0) << "the frame being handed over arrived before the window was let go";
  EXPECT_EQ(video.videoWindow, nullptr);
  const int calls = watch.calls.load();
  const std::int64_t shown = ShownPosition(video);
  surface.reset();

  // The pipeline plays on, unseen.
  std::this_thread::sleep_for(300ms);
  EXPECT_GT(ShownPosition(video), shown);
  EXPECT_EQ(watch.calls.load(), calls) << "a frame reached a destroyed window";
  playback::Teardown(video);
}

TEST(DetachWindow, ANotifyTargetDestroyedWhileNoticesArriveGetsNoMoreNotices) {
  CallWatch watch;
  playback::CVideo video;
  auto target = std::make_unique<SlowNotifyTarget>(watch);
  video.notifyWindow = target.get();
  video.notifyMessage = playback::kGraphNotifyMessage;
  ASSERT_TRUE(Build(video, 1));
  const std::shared_ptr<playback::GraphEventQueue> events = video.events;
  ASSERT_TRUE(events);

  // As the bus does on GStreamer's threads.
  std::thread poster([events] { events->Post({playback::GraphEventCode::kEndOfStream, 0, 0}); });
  ASSERT_TRUE(watch.WaitForCallUnderWay());
  playback::DetachWindow(video);
  EXPECT_EQ(watch.inside.load(), 0) << "the notice being delivered arrived before the target was let go";
  EXPECT_EQ(video.notifyWindow, nullptr);
  target.reset();
  poster.join();

  std::thread late([events] { events->Post({playback::GraphEventCode::kError, 0, 0}); });
  late.join();
  EXPECT_EQ(watch.calls.load(), 1) << "a notice reached a destroyed target";
  // The events still wait for whoever pumps them.
  struct Count : playback::GraphEventCallback {
    int events = 0;
    void OnGraphEvent(playback::GraphEventCode, std::intptr_t, std::intptr_t) override { ++events; }
  } count;
  EXPECT_EQ(playback::PumpGraphEvents(video, &count), playback::kOk);
  EXPECT_EQ(count.events, 2);
}

TEST(DetachWindow, DestroyingTheChannelWhileFramesFlowLeavesTheWindowAlone) {
  CallWatch watch;
  SlowSurface surface(watch);
  {
    playback::CVideo video;
    ASSERT_TRUE(playback::AttachWindow(video, &surface));
    ASSERT_TRUE(Build(video, 0));
    playback::Play(video);
    ASSERT_TRUE(watch.WaitForCallUnderWay());
  }
  EXPECT_EQ(watch.inside.load(), 0);
}

}  // namespace
