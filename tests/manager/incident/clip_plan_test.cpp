// Which recordings a clip is cut from: the neighbours by name time and the pieces of a range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manager/incident/clip_plan.h"

namespace {

using incident::CardRecording;
using incident::ClipPiece;
constexpr std::int64_t kSecond = incident::kUnitsPerSecond;

TEST(ClipPlan, FindsTheRecordingsThatFollowEachOther) {
  const CardRecording current{"/card/EVENT/drf_20240513_090100.mp4", 60 * kSecond};
  struct Case {
    std::string name;
    std::vector<CardRecording> card;
    std::optional<std::string> previous;
    std::optional<std::string> next;
  };
  const std::vector<Case> cases = {
      {"back to back, in other folders",
       {{"/card/CONTINUOUS/drf_20240513_090000.mp4", 60 * kSecond},
        current,
        {"/card/CONTINUOUS/drf_20240513_090200.mp4", 60 * kSecond}},
       "/card/CONTINUOUS/drf_20240513_090000.mp4",
       "/card/CONTINUOUS/drf_20240513_090200.mp4"},
      {"two seconds apart still follow",
       {{"/c/drf_20240513_085958.mp4", 60 * kSecond}, {"/c/drf_20240513_090202.mp4", 10 * kSecond}},
       "/c/drf_20240513_085958.mp4",
       "/c/drf_20240513_090202.mp4"},
      {"three seconds apart do not",
       {{"/c/drf_20240513_085957.mp4", 60 * kSecond}, {"/c/drf_20240513_090203.mp4", 10 * kSecond}},
       std::nullopt,
       std::nullopt},
      {"a name second early is the same drive",
       {{"/c/drf_20240513_090000.mp4", 61 * kSecond}, {"/c/drf_20240513_090159.mp4", 10 * kSecond}},
       "/c/drf_20240513_090000.mp4",
       "/c/drf_20240513_090159.mp4"},
      {"the nearest of several",
       {{"/c/drf_20240513_085800.mp4", 181 * kSecond},
        {"/c/drf_20240513_090000.mp4", 60 * kSecond},
        {"/c/drf_20240513_090201.mp4", 5 * kSecond},
        {"/c/drf_20240513_090200.mp4", 5 * kSecond}},
       "/c/drf_20240513_090000.mp4",
       "/c/drf_20240513_090200.mp4"},
      {"names without a time and empty recordings are passed over",
       {{"/c/drf_garbage.mp4", 60 * kSecond}, {"/c/drf_20240513_090000.mp4", 0}},
       std::nullopt,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto previous = incident::PreviousRecording(current, c.card);
    const auto next = incident::NextRecording(current, c.card);
    EXPECT_EQ(previous ? std::optional(previous->path) : std::nullopt, c.previous);
    EXPECT_EQ(next ? std::optional(next->path) : std::nullopt, c.next);
  }
  const CardRecording lastOfMonth{"/c/drf_20240430_235930.mp4", 30 * kSecond};
  const std::vector<CardRecording> may{{"/c/drf_20240501_000000.mp4", 30 * kSecond}};
  EXPECT_EQ(incident::NextRecording(lastOfMonth, may)->path, may[0].path);
  EXPECT_EQ(incident::NameStartTime("drf_20100315_142530.mp4"), 1268663130);
}

TEST(ClipPlan, CutsTheRangeIntoPieces) {
  const CardRecording current{"b", 60 * kSecond};
  const CardRecording previous{"a", 50 * kSecond};
  const CardRecording next{"c", 30 * kSecond};
  struct Case {
    std::string name;
    std::int64_t start, end;
    bool withNeighbours;
    std::vector<ClipPiece> pieces;
  };
  const std::vector<Case> cases = {
      {"inside", 20 * kSecond, 40 * kSecond, true, {{"b", 20 * kSecond, 40 * kSecond}}},
      {"over the start", -4 * kSecond, 6 * kSecond, true, {{"a", 46 * kSecond, 50 * kSecond}, {"b", 0, 6 * kSecond}}},
      {"over the end", 55 * kSecond, 65 * kSecond, true, {{"b", 55 * kSecond, 60 * kSecond}, {"c", 0, 5 * kSecond}}},
      {"over both",
       -3 * kSecond,
       62 * kSecond,
       true,
       {{"a", 47 * kSecond, 50 * kSecond}, {"b", 0, 60 * kSecond}, {"c", 0, 2 * kSecond}}},
      {"longer than the neighbours",
       -80 * kSecond,
       100 * kSecond,
       true,
       {{"a", 0, 50 * kSecond}, {"b", 0, 60 * kSecond}, {"c", 0, 30 * kSecond}}},
      {"no neighbours: cut at the ends", -4 * kSecond, 65 * kSecond, false, {{"b", 0, 60 * kSecond}}},
      {"outside the recording", 61 * kSecond, 70 * kSecond, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto pieces = c.withNeighbours ? incident::PlanClip(current, previous, next, c.start, c.end)
                                         : incident::PlanClip(current, std::nullopt, std::nullopt, c.start, c.end);
    EXPECT_EQ(pieces, c.pieces);
  }
}

}  // namespace
