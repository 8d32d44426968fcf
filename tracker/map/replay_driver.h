#pragma once

// Replays the chosen row on the map: the play buttons, the ticks of the map area's playback
// timer, the position slider's release, and the marker shown when a row is chosen or a scan
// ends. The rules are the plain functions of replay_rules.h; this adds the timer and the page.
//
// A Move marker call is never sent while the previous one is still on its way to the page: a
// tick that comes meanwhile waits (takes no step), so a slow page slows the replay down instead
// of piling up calls.
#include <QJsonObject>
#include <QObject>

#include <cstdint>
#include <functional>

#include "tracker/log/track_point.h"
#include "tracker/map/replay_rules.h"

namespace tracker {

class BrowserHost;

class ReplayDriver : public QObject {
  Q_OBJECT
 public:
  explicit ReplayDriver(BrowserHost& host, QObject* parent = nullptr);

  // The row being replayed: `count` points of `points` from `first`; none when count is 0.
  // `points` must stay valid while it is set. The index goes back to the row's first point.
  void SetRow(const PointStore* points, int first, int count);
  // Whether there are rows at all (playback starts only then).
  void SetRowsExist(bool exist) { rowsExist_ = exist; }
  // The marker's local time: UTC plus this many seconds (zone and daylight hour).
  void SetOffsetSeconds(std::int64_t seconds) { offsetSeconds_ = seconds; }
  // Points per tick, from the speed box.
  void SetStep(int step) { step_ = step; }
  // The Show time toggle, read on every marker move.
  void SetShowTimeReader(std::function<bool()> reader) { showTime_ = std::move(reader); }
  // Stops playback by itself after `steps` steps (0: never); for scripted runs.
  void SetStepLimit(int steps);

  // A press of Play forward or Play reverse.
  void PressPlay(Direction direction);
  // Stops playback (a row was chosen, data is being opened).
  void Stop();

  // One tick: a step in the playing direction, the slider, the marker. False when it waited
  // for the page or had nothing to step.
  bool Tick();

  // The slider was released at `position` (0-100): jumps there and shows that point; playback
  // that ran goes on from there in its direction.
  void ReleaseSlider(int position);

  // After Show row (which set the row): its first point, with a forward step.
  void ShowFirstPoint();
  // After a scan: the marker at the current point, without a step.
  void ShowCurrentPoint();
  // After the page was loaded again: the marker where it was last put (the row's first point
  // right after a row was chosen, although the index has stepped on to the next).
  void ShowLastPoint();

  int pointIndex() const { return index_; }
  bool playing() const { return play_.playing; }
  Direction direction() const { return play_.direction; }
  int slider() const { return slider_; }
  int stepsTaken() const { return steps_; }
  bool markerInFlight() const { return markerInFlight_; }

  // pointIndex, playing, direction, slider.
  QJsonObject State() const;

 signals:
  // The play buttons' looks follow this.
  void PlayStateChanged(bool playing, Direction direction);
  void SliderMoved(int position);
  // A point (its offset in the row) went to the page.
  void PointShown(int offset);
  // The step limit was reached and playback stopped.
  void StepLimitReached();

 private:
  void SetSlider(int position);
  bool MoveMarker(int offset);
  bool HasRow() const { return points_ != nullptr && count_ > 0; }

  BrowserHost& host_;
  const PointStore* points_ = nullptr;
  int first_ = 0;
  int count_ = 0;
  int index_ = 0;
  int lastShown_ = 0;
  int step_ = kReplaySteps[0];
  bool rowsExist_ = false;
  std::int64_t offsetSeconds_ = 0;
  std::function<bool()> showTime_;
  PlayState play_;
  int slider_ = 0;
  bool markerInFlight_ = false;
  int steps_ = 0;
  int stepLimit_ = 0;
  int stepsAtLimitStart_ = 0;
};

}  // namespace tracker
