// The replay's rules: the order points show in at every step and in both directions, what the
// play buttons do, and the slider's position and release.
#include "tracker/map/replay_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using tracker::Direction;

// The offsets shown by `ticks` steps from `index`.
std::vector<int> Shown(Direction direction, int index, int count, int step, int ticks) {
  std::vector<int> shown;
  for (int i = 0; i < ticks; ++i) {
    const std::optional<int> point = tracker::Step(direction, index, count, step);
    if (!point) break;
    shown.push_back(*point);
  }
  return shown;
}

TEST(ReplaySteps, WrapAroundInBothDirections) {
  EXPECT_EQ(Shown(Direction::kForward, 0, 10, 3, 6), (std::vector<int>{0, 3, 6, 9, 2, 5}));
  EXPECT_EQ(Shown(Direction::kReverse, 0, 10, 3, 5), (std::vector<int>{0, 7, 4, 1, 8}));
  EXPECT_EQ(Shown(Direction::kForward, 8, 10, 1, 4), (std::vector<int>{8, 9, 0, 1}));
  EXPECT_EQ(Shown(Direction::kReverse, 1, 10, 1, 3), (std::vector<int>{1, 0, 9}));
  // Every step of the speed box, forward and back, visits only points of the row.
  for (int step : tracker::kReplaySteps) {
    for (int count : {1, 2, 3, 7, 10, 11}) {
      for (Direction direction : {Direction::kForward, Direction::kReverse}) {
        for (int shown : Shown(direction, 0, count, step, 50)) {
          ASSERT_GE(shown, 0) << "step " << step << " count " << count;
          ASSERT_LT(shown, count) << "step " << step << " count " << count;
        }
      }
    }
  }
}

TEST(ReplaySteps, AStepLargerThanTheRowStillWrapsInReverse) {
  // Subtracting the step and adding the count once would leave index -7 here.
  EXPECT_EQ(Shown(Direction::kReverse, 0, 3, 10, 4), (std::vector<int>{0, 2, 1, 0}));
  EXPECT_EQ(Shown(Direction::kForward, 0, 3, 10, 4), (std::vector<int>{0, 1, 2, 0}));
}

TEST(ReplaySteps, ARowWithoutPointsIsNeverStepped) {
  for (Direction direction : {Direction::kForward, Direction::kReverse}) {
    int index = 0;
    EXPECT_FALSE(tracker::Step(direction, index, 0, 3));
    EXPECT_EQ(index, 0);
  }
  // An index left over from a longer row starts the shorter one at its first point.
  int index = 12;
  EXPECT_EQ(tracker::StepReverse(index, 5, 1), 0);
  EXPECT_EQ(index, 4);
}

TEST(PlayButtons, StartStopAndTurn) {
  tracker::PlayState state;
  tracker::PlayPress press = tracker::PressPlay(state, Direction::kForward, /*rows_exist=*/false);
  EXPECT_FALSE(press.started);
  EXPECT_FALSE(state.playing);

  press = tracker::PressPlay(state, Direction::kForward, true);
  EXPECT_TRUE(press.started);
  EXPECT_FALSE(press.stopped);
  EXPECT_TRUE(state.playing);

  // Reverse while playing forward turns without a pause.
  press = tracker::PressPlay(state, Direction::kReverse, true);
  EXPECT_TRUE(press.stopped);
  EXPECT_TRUE(press.started);
  EXPECT_TRUE(state.playing);
  EXPECT_EQ(state.direction, Direction::kReverse);

  // The running direction's button stops it.
  press = tracker::PressPlay(state, Direction::kReverse, true);
  EXPECT_TRUE(press.stopped);
  EXPECT_FALSE(press.started);
  EXPECT_FALSE(state.playing);
  EXPECT_EQ(state.direction, Direction::kReverse);
}

TEST(Slider, FollowsTheIndexAndAReleaseJumps) {
  EXPECT_EQ(tracker::SliderPosition(0, 10), 0);
  EXPECT_EQ(tracker::SliderPosition(3, 10), 30);
  // Whole-number arithmetic: 29 of 100 is 29, not 28.999...
  EXPECT_EQ(tracker::SliderPosition(29, 100), 29);
  EXPECT_EQ(tracker::SliderPosition(2, 3), 66);
  EXPECT_EQ(tracker::SliderPosition(5, 0), 0);

  EXPECT_EQ(tracker::SliderReleaseIndex(100, 10), 0);  // at the end: back to the first point
  EXPECT_EQ(tracker::SliderReleaseIndex(99, 10), 9);
  EXPECT_EQ(tracker::SliderReleaseIndex(50, 7), 3);
  EXPECT_EQ(tracker::SliderReleaseIndex(0, 7), 0);
  EXPECT_EQ(tracker::SliderReleaseIndex(40, 0), 0);
  // A 10,000-point drive: every position lands inside the row.
  for (int p = 0; p <= 100; ++p) EXPECT_LT(tracker::SliderReleaseIndex(p, 10000), 10000);
}

TEST(SpeedBox, EntriesAndTheirNames) {
  std::vector<std::string> entries;
  for (int step : tracker::kReplaySteps) entries.push_back(tracker::SpeedEntryText(step));
  EXPECT_EQ(entries, (std::vector<std::string>{"  x  1", "  x  2", "  x  3", "  x  5", "  x 10"}));
  EXPECT_EQ(tracker::SpeedEntryNamed("10"), 4);
  EXPECT_EQ(tracker::SpeedEntryNamed("x3"), 2);
  EXPECT_EQ(tracker::SpeedEntryNamed("  x  5"), 3);
  EXPECT_FALSE(tracker::SpeedEntryNamed("4"));
  EXPECT_FALSE(tracker::SpeedEntryNamed("x"));
  EXPECT_FALSE(tracker::SpeedEntryNamed("3x"));
  EXPECT_FALSE(tracker::SpeedEntryNamed(""));
  EXPECT_EQ(tracker::DirectionNamed("reverse"), Direction::kReverse);
  EXPECT_FALSE(tracker::DirectionNamed("backward"));
}

}  // namespace
