#include "tracker/map/replay_driver.h"

#include <QPointer>
#include <QString>

#include <algorithm>

#include "tracker/map/browser_host.h"
#include "tracker/map/page_values.h"

namespace tracker {

ReplayDriver::ReplayDriver(BrowserHost& host, QObject* parent) : QObject(parent), host_(host) {
  connect(&host_, &BrowserHost::PlaybackTick, this, &ReplayDriver::Tick);
}

void ReplayDriver::SetRow(const PointStore* points, int first, int count) {
  const bool inStore = points != nullptr && first >= 0 && count > 0 &&
                       static_cast<std::size_t>(first) + static_cast<std::size_t>(count) <= points->size();
  // A row that does not lie within the store is treated as a row without points.
  points_ = inStore ? points : nullptr;
  first_ = inStore ? first : 0;
  count_ = inStore ? count : 0;
  index_ = 0;
  lastShown_ = 0;
}

void ReplayDriver::SetStepLimit(int steps) {
  stepLimit_ = std::max(steps, 0);
  stepsAtLimitStart_ = steps_;
}

void ReplayDriver::PressPlay(Direction direction) {
  const PlayPress press = tracker::PressPlay(play_, direction, rowsExist_);
  if (press.stopped) host_.StopPlaybackTimer();
  if (press.started) host_.StartPlaybackTimer();
  emit PlayStateChanged(play_.playing, play_.direction);
}

void ReplayDriver::Stop() {
  host_.StopPlaybackTimer();
  if (!play_.playing) return;
  play_.playing = false;
  emit PlayStateChanged(play_.playing, play_.direction);
}

bool ReplayDriver::Tick() {
  // The page has not taken the last marker yet: this tick waits.
  if (markerInFlight_) return false;
  if (!HasRow()) return false;
  const std::optional<int> shown = Step(play_.direction, index_, count_, step_);
  if (!shown) return false;
  SetSlider(SliderPosition(index_, count_));
  MoveMarker(*shown);
  ++steps_;
  if (stepLimit_ > 0 && steps_ - stepsAtLimitStart_ >= stepLimit_) {
    stepLimit_ = 0;
    Stop();
    emit StepLimitReached();
  }
  return true;
}

void ReplayDriver::ReleaseSlider(int position) {
  if (!rowsExist_) return;
  // Playback pauses for the jump and goes on from the new point in the direction it ran.
  const PlayState before = play_;
  if (before.playing) Stop();
  position = std::clamp(position, 0, kSliderMaximum);
  slider_ = position;
  index_ = SliderReleaseIndex(position, count_);
  if (const std::optional<int> shown = StepForward(index_, count_, step_)) MoveMarker(*shown);
  if (before.playing) {
    play_ = before;
    host_.StartPlaybackTimer();
    emit PlayStateChanged(play_.playing, play_.direction);
  }
}

void ReplayDriver::ShowFirstPoint() {
  index_ = 0;
  if (const std::optional<int> shown = StepForward(index_, count_, step_)) {
    SetSlider(SliderPosition(index_, count_));
    MoveMarker(*shown);
  }
}

void ReplayDriver::ShowCurrentPoint() {
  if (HasRow()) MoveMarker(std::clamp(index_, 0, count_ - 1));
}

void ReplayDriver::ShowLastPoint() {
  if (HasRow()) MoveMarker(std::clamp(lastShown_, 0, count_ - 1));
}

void ReplayDriver::SetSlider(int position) {
  if (position == slider_) return;
  slider_ = position;
  emit SliderMoved(position);
}

bool ReplayDriver::MoveMarker(int offset) {
  if (!HasRow() || offset < 0 || offset >= count_) return false;
  lastShown_ = offset;
  // The store may have been refilled since the row was set; never read past its end.
  const auto at = static_cast<std::size_t>(first_) + static_cast<std::size_t>(offset);
  if (at >= points_->size()) return false;
  const TrackPoint& point = (*points_)[at];
  const bool showTime = showTime_ ? showTime_() : false;
  QPointer<ReplayDriver> self(this);
  const int code = host_.Call(MoveMarkerCall(point, offsetSeconds_, showTime), [self](const BridgeAnswer&) {
    if (ReplayDriver* const driver = self.data()) driver->markerInFlight_ = false;
  });
  if (code != kHostOk) return false;
  markerInFlight_ = true;
  emit PointShown(offset);
  return true;
}

QJsonObject ReplayDriver::State() const {
  return QJsonObject{{"pointIndex", index_},
                     {"playing", play_.playing},
                     {"direction", QString::fromLatin1(DirectionName(play_.direction).data(),
                                                       qsizetype(DirectionName(play_.direction).size()))},
                     {"slider", slider_}};
}

}  // namespace tracker
