#include "tracker/map/replay_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "common/trim.h"

namespace tracker {

std::string_view DirectionName(Direction direction) { return direction == Direction::kForward ? "forward" : "reverse"; }

std::optional<Direction> DirectionNamed(std::string_view name) {
  if (name == "forward") return Direction::kForward;
  if (name == "reverse") return Direction::kReverse;
  return std::nullopt;
}

std::string SpeedEntryText(int step) {
  char text[32];
  std::snprintf(text, sizeof text, "  x%3d", step);
  return text;
}

std::optional<int> SpeedEntryNamed(std::string_view name) {
  name = common::Trim(name);
  if (!name.empty() && (name.front() == 'x' || name.front() == 'X')) name = common::TrimStart(name.substr(1));
  int step = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), step);
  if (name.empty() || error != std::errc() || end != name.data() + name.size()) return std::nullopt;
  const auto* found = std::find(kReplaySteps.begin(), kReplaySteps.end(), step);
  if (found == kReplaySteps.end()) return std::nullopt;
  return static_cast<int>(found - kReplaySteps.begin());
}

PlayPress PressPlay(PlayState& state, Direction pressed, bool rows_exist) {
  PlayPress press;
  const Direction previous = state.direction;
  state.direction = pressed;
  if (state.playing) {
    state.playing = false;
    press.stopped = true;
    if (previous == pressed) return press;
  }
  if (rows_exist) {
    state.playing = true;
    press.started = true;
  }
  return press;
}

namespace {

// A step is at least one point; the speed box offers nothing else, but a bad step must not
// freeze or reverse playback.
int UsableStep(int step) { return std::max(step, 1); }

}  // namespace

std::optional<int> StepForward(int& index, int count, int step) {
  if (count <= 0) return std::nullopt;
  if (index < 0 || index >= count) index = 0;
  const int shown = index;
  index = static_cast<int>((static_cast<long long>(index) + UsableStep(step)) % count);
  return shown;
}

std::optional<int> StepReverse(int& index, int count, int step) {
  // A row without points is never stepped, in this direction either.
  if (count <= 0) return std::nullopt;
  if (index < 0 || index >= count) index = 0;
  const int shown = index;
  // Adding the count once is not enough when the step is larger than the row.
  const long long back = (static_cast<long long>(index) - UsableStep(step)) % count;
  index = static_cast<int>(back < 0 ? back + count : back);
  return shown;
}

std::optional<int> Step(Direction direction, int& index, int count, int step) {
  return direction == Direction::kForward ? StepForward(index, count, step) : StepReverse(index, count, step);
}

int SliderPosition(int index, int count) {
  if (count <= 0 || index <= 0) return 0;
  // Whole numbers: a double quotient can land a hair under a whole percentage (29 / 100 * 100).
  return static_cast<int>(std::min<long long>(static_cast<long long>(index) * kSliderMaximum / count, kSliderMaximum));
}

int SliderReleaseIndex(int position, int count) {
  if (count <= 0 || position <= 0) return 0;
  const long long index = static_cast<long long>(position) * count / kSliderMaximum;
  return index >= count ? 0 : static_cast<int>(index);
}

}  // namespace tracker
