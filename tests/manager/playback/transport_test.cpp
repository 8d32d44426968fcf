#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "manager/playback/transport.h"
#include "tests/manager/playback/channel.h"

namespace {

using namespace playback_testing;
using playback::GraphEventCode;

constexpr std::int64_t kSecond = 10'000'000;

GstState PipelineState(const playback::CVideo& video) {
  GstState state = GST_STATE_VOID_PENDING;
  gst_element_get_state(video.graph.get(), &state, nullptr, GST_CLOCK_TIME_NONE);
  return state;
}

double SegmentRate(const playback::CVideo& video) {
  GstQuery* query = gst_query_new_segment(GST_FORMAT_TIME);
  double rate = 0;
  if (gst_element_query(video.graph.get(), query)) gst_query_parse_segment(query, &rate, nullptr, nullptr, nullptr);
  gst_query_unref(query);
  return rate;
}

int CountOf(const std::vector<ReceivedEvent>& events, GraphEventCode code) {
  int count = 0;
  for (const ReceivedEvent& event : events) count += event.code == code;
  return count;
}

TEST(SeekTo, MovesInsideTheRecordingAndIgnoresTargetsOutsideIt) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  EXPECT_TRUE(playback::SeekTo(channel.video, 1.0 * kSecond));
  EXPECT_EQ(channel.Position(), kSecond);
  EXPECT_EQ(channel.video.state, playback::EngineState::kPaused);
  const auto frame = playback::CurrentFrame(channel.video);
  ASSERT_TRUE(frame);
  EXPECT_NEAR(frame->Position(), kSecond, kSecond / 30);

  EXPECT_TRUE(playback::SeekTo(channel.video, channel.result.duration + 1.0));
  EXPECT_TRUE(playback::SeekTo(channel.video, -1.0));
  EXPECT_TRUE(playback::SeekTo(channel.video, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(channel.Position(), kSecond);
}

TEST(SeekTo, LeavesARunningChannelPaused) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  playback::Play(channel.video);
  EXPECT_EQ(channel.video.state, playback::EngineState::kRunning);
  EXPECT_TRUE(playback::SeekTo(channel.video, 0.5 * kSecond));
  EXPECT_EQ(channel.video.state, playback::EngineState::kPaused);
  EXPECT_EQ(PipelineState(channel.video), GST_STATE_PAUSED);
  EXPECT_EQ(channel.Position(), kSecond / 2);
}

// Whatever stops a playing channel, and however soon after Play, the picture the window was
// last handed stays the picture of the position the channel reports.
TEST(Pause, ThePictureHandedToTheWindowIsThatOfThePosition) {
  struct Case {
    const char* what;
    int delayMs;
    bool (*stop)(playback::CVideo&);
  };
  const auto pause = [](playback::CVideo& video) {
    playback::Pause(video);
    return true;
  };
  const auto seek = [](playback::CVideo& video) { return playback::SeekTo(video, 0.4 * kSecond); };
  const std::vector<Case> cases = {
      {"pause at once", 0, pause},
      {"pause after 2 ms", 2, pause},
      {"pause after 40 ms", 40, pause},
      {"pause after 400 ms", 400, pause},
      {"seek at once", 0, seek},
      {"step forward at once", 0, &playback::StepForward},
      {"step back after 40 ms", 40, &playback::StepBack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Channel channel;
    ASSERT_TRUE(channel.Build(ClipPath(Clip::kThreeSeconds)));
    ASSERT_TRUE(playback::SeekTo(channel.video, 1.0 * kSecond));
    playback::Play(channel.video);
    std::this_thread::sleep_for(std::chrono::milliseconds(c.delayMs));
    ASSERT_TRUE(c.stop(channel.video));
    EXPECT_EQ(channel.video.state, playback::EngineState::kPaused);
    // Long enough for a few frames to arrive if the sink were still taking them.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const int presented = channel.surface.Presented();
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_EQ(channel.surface.Presented(), presented) << "pictures still arrive while paused";
    const auto shown = channel.surface.Last();
    ASSERT_TRUE(shown);
    EXPECT_NEAR(shown->Position(), channel.Position(), kSecond / 30);
  }
}

TEST(Steps, MoveOneSecondClampedToTheRecording) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kThreeSeconds)));
  const auto stepBackFrom = [&](std::int64_t position) {
    EXPECT_TRUE(playback::SeekTo(channel.video, static_cast<double>(position)));
    EXPECT_TRUE(playback::StepBack(channel.video));
    return channel.Position();
  };
  EXPECT_EQ(stepBackFrom(15'000'000), 0);
  EXPECT_EQ(stepBackFrom(20'000'000), 10'000'000);
  EXPECT_EQ(stepBackFrom(22'500'000), 12'500'000);

  const std::int64_t duration = channel.result.duration;
  ASSERT_GT(duration, 2 * kSecond);
  EXPECT_TRUE(playback::SeekTo(channel.video, static_cast<double>(duration - 4'000'000)));
  EXPECT_TRUE(playback::StepForward(channel.video));
  EXPECT_EQ(channel.Position(), duration);

  EXPECT_TRUE(playback::SeekTo(channel.video, 5'000'000.0));
  playback::Play(channel.video);
  EXPECT_TRUE(playback::StepForward(channel.video));
  EXPECT_EQ(channel.video.state, playback::EngineState::kPaused);
  EXPECT_GE(channel.Position(), 15'000'000);
}

TEST(SetRate, KeepsThePosition) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  ASSERT_TRUE(playback::SeekTo(channel.video, 0.5 * kSecond));
  for (const double rate : {4.0, 0.25, 2.0, 0.5, 1.0}) {
    playback::SetRate(channel.video, rate);
    EXPECT_EQ(SegmentRate(channel.video), rate);
    EXPECT_EQ(channel.Position(), kSecond / 2) << rate;
  }
  // A seek keeps the rate too.
  playback::SetRate(channel.video, 2.0);
  ASSERT_TRUE(playback::SeekTo(channel.video, 0.25 * kSecond));
  EXPECT_EQ(SegmentRate(channel.video), 2.0);
  playback::SetRate(channel.video, 0.0);
  playback::SetRate(channel.video, -1.0);
  EXPECT_EQ(SegmentRate(channel.video), 2.0);
}

TEST(GraphEvents, CompleteArrivesOnceAtTheEndOnTheOwnerThread) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  playback::SetRate(channel.video, 4.0);
  playback::Play(channel.video);
  ASSERT_TRUE(channel.WaitForEvent(GraphEventCode::kEndOfStream));
  EXPECT_NEAR(channel.Position(), channel.result.duration, kSecond / 10);
  // Nothing follows the end.
  channel.waiter.Wait(std::chrono::milliseconds(300));
  EXPECT_EQ(playback::PumpGraphEvents(channel.video, &channel), playback::kOk);
  ASSERT_EQ(channel.events.size(), 1u);
  EXPECT_EQ(channel.events[0].code, GraphEventCode::kEndOfStream);
  EXPECT_EQ(channel.events[0].thread, std::this_thread::get_id());
  // Frames kept coming after the preroll (how many depends on the machine's speed: late ones drop).
  EXPECT_GT(channel.surface.Presented(), 2);
}

TEST(GraphEvents, ARecordingCutShortEndsEarlyWithOneComplete) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kCutShort)));
  playback::SetRate(channel.video, 4.0);
  playback::Play(channel.video);
  ASSERT_TRUE(channel.WaitForEvent(GraphEventCode::kEndOfStream));
  EXPECT_LT(channel.Position(), channel.result.duration);
  EXPECT_EQ(CountOf(channel.events, GraphEventCode::kEndOfStream), 1);
  EXPECT_EQ(CountOf(channel.events, GraphEventCode::kError), 0);
}

TEST(GraphEvents, ScrambledMediaAbortsOnce) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kBrokenMedia)));
  playback::Play(channel.video);
  ASSERT_TRUE(channel.WaitForEvent(GraphEventCode::kError));
  channel.waiter.Wait(std::chrono::milliseconds(200));
  playback::PumpGraphEvents(channel.video, &channel);
  EXPECT_EQ(CountOf(channel.events, GraphEventCode::kError), 1);
  EXPECT_EQ(channel.events[0].param1, static_cast<std::intptr_t>(playback::kFailed));
}

TEST(GraphEvents, PumpNeedsACallbackAndAnEventQueue) {
  Channel withEvents;
  ASSERT_TRUE(withEvents.Build(ClipPath(Clip::kVga)));
  EXPECT_EQ(playback::PumpGraphEvents(withEvents.video, nullptr), playback::kMissingObject);

  Channel withoutEvents;
  ASSERT_TRUE(withoutEvents.Build(ClipPath(Clip::kVga), 1, 0));
  EXPECT_EQ(playback::PumpGraphEvents(withoutEvents.video, &withoutEvents), playback::kNotReady);
}

TEST(GraphEvents, PumpDeliversQueuedEventsInOrder) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  channel.video.events->Post({GraphEventCode::kEndOfStream, 1, 0});
  channel.video.events->Post({GraphEventCode::kError, 2, 0});
  channel.video.events->Post({GraphEventCode::kEndOfStream, 3, 0});
  EXPECT_TRUE(channel.waiter.Wait(std::chrono::milliseconds(0)));
  EXPECT_EQ(playback::PumpGraphEvents(channel.video, &channel), playback::kOk);
  ASSERT_EQ(channel.events.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(channel.events[i].param1, i + 1);
}

TEST(GraphEvents, TheCallbackMayOpenTheNextRecording) {
  // As the main window does at the end of a recording: tear down and build inside OnGraphEvent.
  struct NextRecording : playback::GraphEventCallback {
    Channel& channel;
    int completes = 0;
    explicit NextRecording(Channel& c) : channel(c) {}
    void OnGraphEvent(playback::GraphEventCode code, std::intptr_t, std::intptr_t) override {
      if (code != GraphEventCode::kEndOfStream) return;
      ++completes;
      ASSERT_TRUE(channel.Build(ClipPath(Clip::kThreeSeconds)));
      playback::SeekTo(channel.video, 25'000'000.0);
      playback::Play(channel.video);
    }
  };
  Channel channel;
  NextRecording next(channel);
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kSilent)));
  ASSERT_TRUE(playback::SeekTo(channel.video, 15'000'000.0));
  playback::Play(channel.video);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (next.completes < 2 && std::chrono::steady_clock::now() < deadline) {
    channel.waiter.Wait(std::chrono::milliseconds(100));
    playback::PumpGraphEvents(channel.video, &next);
  }
  EXPECT_EQ(next.completes, 2);
  EXPECT_EQ(playback::NativeVideoSize(channel.video), (playback::VideoSize{320, 240}));
}

TEST(TwoChannels, PlayTogetherAndOnlyTheFirstReportsEvents) {
  Channel first;
  Channel second;
  ASSERT_TRUE(first.Build(ClipPath(Clip::kHd), 0, 1));
  ASSERT_TRUE(second.Build(ClipPath(Clip::kVga), 1, 0));
  for (Channel* channel : {&second, &first}) {
    playback::SetRate(channel->video, 4.0);
    playback::Play(channel->video);
  }
  ASSERT_TRUE(first.WaitForEvent(GraphEventCode::kEndOfStream));
  EXPECT_FALSE(second.video.events);
  // The second channel follows its own clock at the same rate.
  EXPECT_GT(second.Position(), 10'000'000);
  EXPECT_GT(second.surface.Presented(), 2);
  EXPECT_EQ(playback::NativeVideoSize(first.video), (playback::VideoSize{1280, 720}));
  EXPECT_EQ(playback::NativeVideoSize(second.video), (playback::VideoSize{640, 480}));
}

TEST(Transport, DoesNothingWithoutAGraph) {
  Channel channel;
  playback::Play(channel.video);
  playback::Pause(channel.video);
  playback::StopAndRewind(channel.video);
  playback::SetRate(channel.video, 2.0);
  playback::SetMuted(channel.video, 1);
  EXPECT_EQ(channel.video.state, playback::EngineState::kNoGraph);
  EXPECT_FALSE(playback::SeekTo(channel.video, 0));
  EXPECT_FALSE(playback::StepBack(channel.video));
  EXPECT_FALSE(playback::StepForward(channel.video));
  EXPECT_FALSE(playback::ReadPosition(channel.video, nullptr));
  EXPECT_EQ(playback::PumpGraphEvents(channel.video, &channel), playback::kNotReady);
  playback::Repaint(channel.video);
  EXPECT_EQ(channel.surface.paints, 1);
  EXPECT_EQ(channel.surface.paintedFrame, nullptr);
  EXPECT_FALSE(playback::AttachWindow(channel.video, nullptr));
}

TEST(Transport, StopRewindsAndTeardownReleasesEverything) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  ASSERT_TRUE(playback::SeekTo(channel.video, 1.0 * kSecond));
  playback::StopAndRewind(channel.video);
  EXPECT_EQ(channel.video.state, playback::EngineState::kStopped);
  EXPECT_EQ(channel.Position(), 0);
  playback::Play(channel.video);
  EXPECT_EQ(channel.video.state, playback::EngineState::kRunning);

  playback::Teardown(channel.video);
  EXPECT_EQ(channel.video.state, playback::EngineState::kNoGraph);
  EXPECT_FALSE(channel.video.graph);
  EXPECT_FALSE(channel.video.windowless);
  EXPECT_FALSE(channel.video.events);
  EXPECT_FALSE(playback::CurrentFrame(channel.video));
  EXPECT_GT(channel.surface.invalidations.load(), 0);
}

TEST(Picture, ResizeLetterBoxesAndRepaintDrawsTheLastFrame) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kHd)));
  EXPECT_EQ(channel.video.destinationRect, (playback::VideoRect{0, 60, 640, 420}));
  channel.video.videoRect = {0, 0, 320, 240};
  playback::ResizeVideo(channel.video);
  EXPECT_EQ(channel.video.destinationRect, (playback::VideoRect{0, 30, 320, 210}));
  playback::Repaint(channel.video);
  EXPECT_EQ(channel.surface.paintedFrame, channel.surface.Last().get());
  EXPECT_EQ(channel.surface.paintedRect, channel.video.destinationRect);
}

}  // namespace
