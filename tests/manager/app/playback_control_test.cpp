// The transport of the main window against a fake pair of channels: what each command, press,
// drag and release does to the play state and to the engines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manager/app/playback_control.h"

namespace {

using app::PlaybackControl;

constexpr std::int64_t kSecond = 10'000'000;

class FakeHost : public app::PlaybackHost {
 public:
  bool HasCurrentRecording() const override { return hasRecording; }
  int EngineState(int channel) const override { return engineState[channel]; }
  void Play(int channel) override { Log("play", channel); }
  void Pause(int channel) override { Log("pause", channel); }
  void StopAndTeardown(int channel) override {
    Log("stop", channel);
    engineState[channel] = 0;
  }
  void SeekTo(int channel, double target) override {
    Log("seek", channel);
    seeks.push_back(static_cast<std::int64_t>(target));
  }
  void StepBack(int channel) override { Log("back", channel); }
  void StepForward(int channel) override { Log("forward", channel); }
  void SetRate(int channel, double rate) override {
    Log("rate", channel);
    rates.push_back(rate);
  }
  void SetVolumePercent(int channel, int percent) override {
    Log("volume", channel);
    volumes.push_back(percent);
  }
  bool ReadPosition(std::int64_t* out) override {
    *out = position;
    return true;
  }
  void PostOpenRequest() override { ++openRequests; }
  void ResetPanel() override { Log("reset", 0); }
  void InvalidateVideoArea() override {}
  void Invalidate(const display::Rect&) override { ++invalidations; }
  void RestoreFromSkin(const display::Rect& rect) override { restored.push_back(rect); }

  void Log(const std::string& what, int channel) { calls.push_back(what + std::to_string(channel + 1)); }

  bool hasRecording = true;
  int engineState[2] = {0, 0};
  std::int64_t position = 0;
  int openRequests = 0;
  int invalidations = 0;
  std::vector<std::string> calls;
  std::vector<std::int64_t> seeks;
  std::vector<double> rates;
  std::vector<int> volumes;
  std::vector<display::Rect> restored;
};

// A dual-channel recording of `seconds`, opened and playing.
struct Playing : ::testing::Test {
  void SetUp() override {
    control.duration = 60 * kSecond;
    control.hasChannel2 = true;
    host.engineState[0] = host.engineState[1] = 2;
    control.PlayRecording();
    host.calls.clear();
  }
  FakeHost host;
  PlaybackControl control{host, 2};
};

TEST(Transport, PlayOpensFirstThenRunsBothChannelsRearFirst) {
  FakeHost host;
  PlaybackControl control(host, 2);
  host.hasRecording = false;  // a folder was loaded but no row chosen
  control.PlayRecording();
  EXPECT_EQ(host.openRequests, 0);
  EXPECT_EQ(control.playState(), app::kStopped);

  host.hasRecording = true;
  control.PlayRecording();  // nothing built yet: the recording is opened first
  EXPECT_EQ(host.openRequests, 1);
  EXPECT_TRUE(host.calls.empty());

  host.engineState[0] = 2;
  control.PlayRecording();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"play2", "play1"}));
  EXPECT_EQ(control.playState(), app::kPlaying);
}

TEST(Transport, OneChannelBuildsNeverTouchChannelTwo) {
  FakeHost host;
  host.engineState[0] = 2;
  PlaybackControl control(host, 1);
  control.PlayRecording();
  control.TogglePause();
  control.StepForward();
  control.StopPlayback();
  for (const std::string& call : host.calls) EXPECT_EQ(call.back(), '1') << call;
}

TEST_F(Playing, PauseToggleStopAndSteps) {
  control.TogglePause();
  EXPECT_EQ(control.playState(), app::kPaused);
  control.TogglePause();
  EXPECT_EQ(control.playState(), app::kPlaying);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"pause2", "pause1", "play2", "play1"}));

  host.calls.clear();
  control.StepForward();
  control.StepBack();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"forward2", "forward1", "back2", "back1"}));
  EXPECT_EQ(control.playState(), app::kPaused);

  host.calls.clear();
  control.StopPlayback();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"reset1", "stop2", "stop1"}));
  EXPECT_EQ(control.playState(), app::kStopped);

  // Stopped: steps and pause do nothing, and play reopens the recording.
  host.calls.clear();
  control.StepForward();
  control.TogglePause();
  EXPECT_TRUE(host.calls.empty());
  control.PlayRecording();
  EXPECT_EQ(host.openRequests, 1);
}

TEST_F(Playing, ClickOnThePositionBarSeeksBothChannelsAndResumes) {
  ASSERT_TRUE(control.OnPress(300, 690));
  EXPECT_EQ(control.positionOffset(), 230);
  EXPECT_EQ(host.seeks, (std::vector<std::int64_t>{23 * kSecond, 23 * kSecond}));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"pause2", "pause1", "seek1", "seek2", "play2", "play1"}));
  EXPECT_EQ(control.playState(), app::kPlaying);

  // The far end stays inside the recording; a recording without companion seeks channel 1 only.
  host.seeks.clear();
  control.hasChannel2 = false;
  control.OnPress(669, 690);
  EXPECT_EQ(control.positionOffset(), 600);
  EXPECT_EQ(host.seeks, (std::vector<std::int64_t>{60 * kSecond - 1}));
}

TEST_F(Playing, DraggingThePositionThumbPausesUntilTheRelease) {
  control.FollowPosition();  // offset 0: the thumb is at x 70..74
  ASSERT_TRUE(control.OnPress(72, 690));
  EXPECT_TRUE(control.dragging());
  EXPECT_EQ(control.playState(), app::kPaused);
  for (const int x : {100, 400, 671}) {
    control.OnDrag(x);
    EXPECT_EQ(control.playState(), app::kPaused);
  }
  EXPECT_EQ(control.positionOffset(), 595);  // past the end the thumb stops short of it
  host.position = 5 * kSecond;
  control.FollowPosition();  // the timer leaves a held thumb alone
  EXPECT_EQ(control.positionOffset(), 595);
  control.OnDrag(370);
  ASSERT_TRUE(control.OnRelease());
  EXPECT_FALSE(control.dragging());
  EXPECT_EQ(host.seeks.back(), 30 * kSecond);
  EXPECT_EQ(control.playState(), app::kPlaying);
}

TEST_F(Playing, APausedRecordingStaysPausedThroughASeek) {
  control.TogglePause();
  host.calls.clear();
  control.OnPress(300, 690);
  // No second pause (which would resume it); the release of the click plays.
  EXPECT_EQ(host.calls, (std::vector<std::string>{"seek1", "seek2", "play2", "play1"}));
}

TEST_F(Playing, RateSnapsAtOnceButChangesOnRelease) {
  ASSERT_TRUE(control.OnPress(560, 640));  // the bar at d = 70
  EXPECT_EQ(control.ratePosition(), 73);
  EXPECT_EQ(host.rates, (std::vector<double>{1.0, 1.0}));
  EXPECT_EQ(host.restored.size(), 1u);

  host.rates.clear();
  ASSERT_TRUE(control.OnPress(563, 639));  // the thumb at 488 + 73
  control.OnDrag(700);
  EXPECT_EQ(control.ratePosition(), 145);
  EXPECT_TRUE(host.rates.empty());
  control.OnRelease();
  EXPECT_EQ(host.rates, (std::vector<double>{4.0, 4.0}));
}

TEST_F(Playing, VolumeFollowsTheDragOnChannelOneOnly) {
  ASSERT_TRUE(control.OnPress(563, 660));  // the thumb at 488 + 73
  control.OnDrag(540);
  control.OnDrag(400);
  EXPECT_EQ(host.volumes, (std::vector<int>{33, 0}));
  control.OnRelease();
  EXPECT_EQ(host.volumes.back(), 0);
  for (const std::string& call : host.calls) EXPECT_NE(call, "volume2");

  // Without an audio output the thumb cannot be taken, and a press there does nothing else.
  control.hasAudioRenderer = 0;
  host.volumes.clear();
  EXPECT_TRUE(control.OnPress(489, 660));
  EXPECT_FALSE(control.dragging());
  EXPECT_TRUE(host.volumes.empty());
}

TEST(Transport, SlidersIgnoreTheMouseWhileStopped) {
  FakeHost host;
  PlaybackControl control(host, 2);
  EXPECT_TRUE(control.OnPress(300, 690));
  EXPECT_TRUE(control.OnPress(560, 640));
  EXPECT_FALSE(control.dragging());
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(control.ratePosition(), 73);
  EXPECT_FALSE(control.OnPress(300, 300));  // not a slider
  EXPECT_FALSE(control.OnRelease());
}

TEST_F(Playing, FullScreenBarSeeksByClickAndDrag) {
  control.fullScreen = true;
  control.fullScreenBar = {139, 1000, 1911, 1011};  // 1920 x 1080
  const int width = control.fullScreenBar.Width();
  ASSERT_TRUE(control.OnPress(139 + width / 2, 1005));
  EXPECT_EQ(control.fullScreenOffset(), width / 2);
  EXPECT_EQ(host.seeks.front(), 30 * kSecond);
  EXPECT_EQ(control.playState(), app::kPlaying);

  // The thumb is 11 x 19, centred on the bar: 996..1014.
  const int thumbX = 139 + control.fullScreenOffset() + 5;
  ASSERT_TRUE(control.OnPress(thumbX, 996));
  EXPECT_TRUE(control.dragging());
  control.OnDrag(5000);
  EXPECT_EQ(control.fullScreenOffset(), width);
  control.OnRelease();
  EXPECT_EQ(host.seeks.back(), 60 * kSecond - 1);
  EXPECT_EQ(control.playState(), app::kPlaying);
  // The normal layout's sliders are out of reach.
  EXPECT_FALSE(control.OnPress(560, 640));
}

TEST_F(Playing, PositionFollowsChannelOneAndNeverLeavesTheBar) {
  control.fullScreenBar = {139, 1000, 1911, 1011};
  host.position = 15 * kSecond;
  control.FollowPosition();
  EXPECT_EQ(control.positionOffset(), 150);
  EXPECT_EQ(control.fullScreenOffset(), 443);
  host.position = 61 * kSecond;  // a position read just past the end
  control.FollowPosition();
  EXPECT_EQ(control.positionOffset(), 600);
  control.duration = 0;
  control.FollowPosition();
  EXPECT_EQ(control.positionOffset(), 0);
}

}  // namespace
