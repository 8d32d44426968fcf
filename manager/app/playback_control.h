#pragma once

#include <cstdint>

#include "manager/display/rules/slider_rules.h"

namespace app {

// Channel indexes: 0 is channel 1 (drf_), 1 is channel 2 (drr_).
inline constexpr int kChannel1 = 0;
inline constexpr int kChannel2 = 1;

// What the transport drives: the channels' engines and the window's repaints. The main window
// implements it; the tests fake it. Every engine operation does nothing on a channel without a
// graph.
class PlaybackHost {
 public:
  virtual ~PlaybackHost() = default;
  // A recording has been chosen (the list has rows and a current recording).
  virtual bool HasCurrentRecording() const = 0;
  // 0 no graph, 1 stopped, 2 paused, 3 running.
  virtual int EngineState(int channel) const = 0;
  virtual void Play(int channel) = 0;
  virtual void Pause(int channel) = 0;
  virtual void StopAndTeardown(int channel) = 0;
  virtual void SeekTo(int channel, double target) = 0;
  virtual void StepBack(int channel) = 0;
  virtual void StepForward(int channel) = 0;
  virtual void SetRate(int channel, double rate) = 0;
  virtual void SetVolumePercent(int channel, int percent) = 0;
  virtual bool ReadPosition(std::int64_t* position) = 0;  // channel 1's
  // Opens the current recording once the current event has been handled.
  virtual void PostOpenRequest() = 0;
  virtual void ResetPanel() = 0;
  virtual void InvalidateVideoArea() = 0;
  virtual void Invalidate(const display::Rect& rect) = 0;
  // Copies the untouched skin over `rect` of the back buffer.
  virtual void RestoreFromSkin(const display::Rect& rect) = 0;
};

// What the transport shows, apart from the engine's own state. The numbers are the ones
// --state prints.
enum class PlayState : int { kStopped = 0, kPlaying = 1, kPaused = 2 };
using enum PlayState;

// Which thumb the mouse holds.
enum class DragTarget { Position = 0, Rate = 1, Volume = 2, FullScreenPosition = 4 };

// The main window's transport: the play state, the commands that move it, and the three drawn
// sliders with their press, drag and release rules. Channel 2 moves first, then channel 1.
class PlaybackControl {
 public:
  PlaybackControl(PlaybackHost& host, int channels);

  void PlayRecording();
  void TogglePause();
  void StopPlayback();
  void StepForward();
  void StepBack();

  // The position timer's first step: unless a thumb is held, follow channel 1's position.
  void FollowPosition();

  // Mouse on the window (client coordinates). A press reports whether it hit a slider, a
  // release whether it ended a drag.
  bool OnPress(int x, int y);
  void OnDrag(int x);
  bool OnRelease();

  // Seeks both channels as a release of the position thumb at `target` would, and plays.
  void SeekAndPlay(std::int64_t target);

  void ApplyRate();
  void ApplyVolume();

  PlayState playState() const { return playState_; }
  bool dragging() const { return dragging_; }
  DragTarget dragTarget() const { return dragTarget_; }
  int positionOffset() const { return positionOffset_; }
  int fullScreenOffset() const { return fullScreenOffset_; }
  void setFullScreenOffset(int offset) { fullScreenOffset_ = offset; }
  int ratePosition() const { return ratePosition_; }
  int volumePosition() const { return volumePosition_; }
  // True once the user has moved the volume slider.
  bool volumeChosen() const { return volumeChosen_; }
  std::int64_t position() const { return position_; }
  void setPosition(std::int64_t position) { position_ = position; }

  // What the window tells the transport about the open recording and the layout.
  std::int64_t duration = 0;
  int hasAudioRenderer = 1;
  bool hasChannel2 = false;
  bool fullScreen = false;
  display::Rect fullScreenBar;

  // The progress of the normal layout's bar, kept by the window's reset.
  void ResetOffsets() {
    positionOffset_ = 0;
    fullScreenOffset_ = 0;
  }

 private:
  void PauseIfPlaying();
  void SeekBoth(std::int64_t target);
  bool OnNormalPress(int x, int y);
  bool OnFullScreenPress(int x, int y);
  void ForEachChannel(void (PlaybackHost::*operation)(int));

  PlaybackHost& host_;
  int channels_;
  PlayState playState_ = kStopped;
  bool dragging_ = false;
  DragTarget dragTarget_ = DragTarget::Position;
  int positionOffset_ = 0;
  int fullScreenOffset_ = 0;
  int ratePosition_ = display::kNormalRatePosition;
  int volumePosition_ = display::kFirstVolumePosition;
  bool volumeChosen_ = false;
  std::int64_t position_ = 0;
};

}  // namespace app
