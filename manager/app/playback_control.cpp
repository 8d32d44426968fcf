#include "manager/app/playback_control.h"

#include "manager/display/rules/slider_rules.h"

namespace app {

using namespace display;

PlaybackControl::PlaybackControl(PlaybackHost& host, int channels) : host_(host), channels_(channels) {}

// Channel 2 first, then channel 1; every channel with a graph (the engine ignores the others).
void PlaybackControl::ForEachChannel(void (PlaybackHost::*operation)(int)) {
  if (channels_ > 1) (host_.*operation)(kChannel2);
  (host_.*operation)(kChannel1);
}

void PlaybackControl::PlayRecording() {
  if (!host_.HasCurrentRecording()) return;
  if (playState_ == kStopped && host_.EngineState(kChannel1) == 0) {
    host_.PostOpenRequest();
    return;
  }
  ForEachChannel(&PlaybackHost::Play);
  playState_ = kPlaying;
}

void PlaybackControl::TogglePause() {
  if (playState_ == kPlaying) {
    ForEachChannel(&PlaybackHost::Pause);
    playState_ = kPaused;
  } else if (playState_ == kPaused) {
    PlayRecording();
  }
}

void PlaybackControl::StopPlayback() {
  host_.ResetPanel();
  ForEachChannel(&PlaybackHost::StopAndTeardown);
  playState_ = kStopped;
  host_.InvalidateVideoArea();
}

void PlaybackControl::StepForward() {
  if (playState_ == kStopped) return;
  ForEachChannel(&PlaybackHost::StepForward);
  playState_ = kPaused;
}

void PlaybackControl::StepBack() {
  if (playState_ == kStopped) return;
  ForEachChannel(&PlaybackHost::StepBack);
  playState_ = kPaused;
}

void PlaybackControl::FollowPosition() {
  if (dragging_) return;
  host_.ReadPosition(&position_);
  positionOffset_ = OffsetForPosition(position_, duration, kPositionBarWidth);
  fullScreenOffset_ = OffsetForPosition(position_, duration, fullScreenBar.Width());
}

// A paused recording stays paused while the mouse holds a thumb; only the release resumes it.
void PlaybackControl::PauseIfPlaying() {
  if (playState_ != kPaused) TogglePause();
}

void PlaybackControl::SeekBoth(std::int64_t target) {
  host_.SeekTo(kChannel1, static_cast<double>(target));
  if (hasChannel2 && channels_ > 1) host_.SeekTo(kChannel2, static_cast<double>(target));
}

void PlaybackControl::SeekAndPlay(std::int64_t target) {
  if (target >= duration) target = duration - 1;
  if (target < 0) target = 0;
  positionOffset_ = OffsetForPosition(target, duration, kPositionBarWidth);
  fullScreenOffset_ = OffsetForPosition(target, duration, fullScreenBar.Width());
  position_ = target;
  SeekBoth(target);
  PlayRecording();
}

void PlaybackControl::ApplyRate() {
  const double rate = RateForPosition(ratePosition_);
  host_.SetRate(kChannel1, rate);
  if (hasChannel2 && channels_ > 1) host_.SetRate(kChannel2, rate);
}

void PlaybackControl::ApplyVolume() { host_.SetVolumePercent(kChannel1, VolumePercentFor(volumePosition_)); }

bool PlaybackControl::OnPress(int x, int y) { return fullScreen ? OnFullScreenPress(x, y) : OnNormalPress(x, y); }

bool PlaybackControl::OnNormalPress(int x, int y) {
  const bool open = playState_ != kStopped;
  switch (HitTestSliders(x, y, positionOffset_, ratePosition_, volumePosition_)) {
    case SliderHit::None: return false;
    case SliderHit::PositionThumb:
      if (open) {
        PauseIfPlaying();
        dragging_ = true;
        dragTarget_ = DragTarget::Position;
      }
      return true;
    case SliderHit::RateThumb:
      if (open) {
        dragging_ = true;
        dragTarget_ = DragTarget::Rate;
      }
      return true;
    case SliderHit::VolumeThumb:
      if (hasAudioRenderer == 1 && open) {
        dragging_ = true;
        dragTarget_ = DragTarget::Volume;
      }
      return true;
    case SliderHit::PositionBar:
      if (open) {
        PauseIfPlaying();
        positionOffset_ = PositionOffsetForClick(x);
        host_.Invalidate(kPositionDragRepaint);
        SeekBoth(SeekTargetForClick(positionOffset_, duration, kPositionBarWidth));
        PlayRecording();
      }
      return true;
    case SliderHit::RateBar:
      if (open) {
        ratePosition_ = RatePositionFor(x);
        ApplyRate();
        host_.RestoreFromSkin(kRateRestore);
        host_.Invalidate(kRateRepaint);
      }
      return true;
    case SliderHit::VolumeBar:
      if (open) {
        volumePosition_ = VolumePositionForClick(x);
        volumeChosen_ = true;
        ApplyVolume();
        host_.RestoreFromSkin(kVolumeRestore);
        host_.Invalidate(kVolumeRepaint);
      }
      return true;
  }
  return false;
}

bool PlaybackControl::OnFullScreenPress(int x, int y) {
  if (playState_ == kStopped) return false;
  const Rect bar = fullScreenBar;
  if (FullScreenThumbRect(bar, fullScreenOffset_).Contains(x, y)) {
    PauseIfPlaying();
    dragging_ = true;
    dragTarget_ = DragTarget::FullScreenPosition;
    return true;
  }
  if (bar.Contains(x, y)) {
    PauseIfPlaying();
    fullScreenOffset_ = FullScreenOffsetForClick(x, bar);
    host_.Invalidate(FullScreenThumbStrip(bar));
    SeekBoth(SeekTargetForClick(fullScreenOffset_, duration, bar.Width()));
    PlayRecording();
    return true;
  }
  return false;
}

void PlaybackControl::OnDrag(int x) {
  if (!dragging_) return;
  switch (dragTarget_) {
    case DragTarget::Position:
      PauseIfPlaying();
      if (playState_ == kStopped) return;
      positionOffset_ = PositionOffsetForDrag(x);
      host_.Invalidate(kPositionDragRepaint);
      return;
    case DragTarget::Rate:
      // The thumb snaps at once; the rate changes on release.
      if (playState_ == kStopped) return;
      ratePosition_ = RatePositionFor(x);
      host_.Invalidate(kRateRepaint);
      return;
    case DragTarget::Volume:
      if (playState_ == kStopped) return;
      volumePosition_ = VolumePositionForDrag(x);
      volumeChosen_ = true;
      ApplyVolume();
      host_.Invalidate(kVolumeDragRepaint);
      return;
    case DragTarget::FullScreenPosition: {
      PauseIfPlaying();
      if (playState_ == kStopped) return;
      const Rect before = FullScreenThumbRect(fullScreenBar, fullScreenOffset_);
      fullScreenOffset_ = FullScreenOffsetForDrag(x, fullScreenBar);
      host_.Invalidate(before);
      host_.Invalidate(FullScreenThumbRect(fullScreenBar, fullScreenOffset_));
      return;
    }
  }
}

bool PlaybackControl::OnRelease() {
  if (!dragging_) return false;
  switch (dragTarget_) {
    case DragTarget::Position:
      if (playState_ != kStopped) {
        SeekBoth(SeekTargetForRelease(positionOffset_, duration));
        PlayRecording();
      }
      break;
    case DragTarget::Rate: ApplyRate(); break;
    case DragTarget::Volume: ApplyVolume(); break;
    case DragTarget::FullScreenPosition:
      if (playState_ != kStopped) {
        SeekBoth(SeekTargetForClick(fullScreenOffset_, duration, fullScreenBar.Width()));
        PlayRecording();
      }
      break;
  }
  dragging_ = false;
  return true;
}

}  // namespace app
