#pragma once

// The rules of replaying a row: which point shows next, how the play buttons start, stop and
// turn playback, where the position slider stands and where a release of it jumps to, and the
// playback speed box. Plain functions, so the window and the replay driver only call them.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tracker {

enum class Direction { kForward, kReverse };

// "forward" or "reverse".
std::string_view DirectionName(Direction direction);
std::optional<Direction> DirectionNamed(std::string_view name);

// The playback speed box: points per tick, entry 0 selected at start.
inline constexpr std::array<int, 5> kReplaySteps = {1, 2, 3, 5, 10};

// An entry as the box shows it: "  x%3d", so "  x  1" up to "  x 10".
std::string SpeedEntryText(int step);

// The entry that an option names: its step ("3"), with or without the x ("x3", "  x  3").
std::optional<int> SpeedEntryNamed(std::string_view name);

struct PlayState {
  bool playing = false;
  Direction direction = Direction::kForward;
};

// What a press of a play button did.
struct PlayPress {
  bool stopped = false;  // playback that ran was stopped (the timer goes)
  bool started = false;  // playback runs now in the pressed direction (the timer starts)
};

// A press of Play forward or Play reverse: the running direction's button stops playback, the
// other button turns it without a pause, either starts it when stopped. Nothing starts
// without rows.
PlayPress PressPlay(PlayState& state, Direction pressed, bool rows_exist);

// One step through a row of `count` points. Answers the offset in the row of the point to
// show now and moves `index` on by `step`, wrapping at either end; nothing (and `index`
// untouched) for a row without points. An index outside the row starts again at its first
// point. The reverse step wraps however large the step is against the row.
std::optional<int> StepForward(int& index, int count, int step);
std::optional<int> StepReverse(int& index, int count, int step);
std::optional<int> Step(Direction direction, int& index, int count, int step);

// The slider, range 0-100, for the current index: trunc(index / count * 100).
inline constexpr int kSliderMaximum = 100;
int SliderPosition(int index, int count);

// Where a release of the slider at `position` jumps to: trunc(position / 100 * count), and the
// first point for a position at or past the end.
int SliderReleaseIndex(int position, int count);

}  // namespace tracker
