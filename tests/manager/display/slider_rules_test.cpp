// The drawn sliders' arithmetic: hit areas, offsets, snapping, levels and seek targets.
#include <gtest/gtest.h>

#include "manager/display/rules/slider_rules.h"

namespace {

using namespace display;

constexpr std::int64_t kSecond = 10'000'000;

TEST(SliderRules, HitAreasAreTestedThumbsFirst) {
  // Position offset 0, rate and volume at their start (73).
  EXPECT_EQ(HitTestSliders(70, 690, 0, 73, 73), SliderHit::PositionThumb);
  EXPECT_EQ(HitTestSliders(75, 690, 0, 73, 73), SliderHit::PositionBar);  // right edge not owned
  EXPECT_EQ(HitTestSliders(70, 684, 0, 73, 73), SliderHit::PositionBar);  // the thumb starts a row lower
  EXPECT_EQ(HitTestSliders(669, 694, 0, 73, 73), SliderHit::PositionBar);
  EXPECT_EQ(HitTestSliders(670, 690, 0, 73, 73), SliderHit::None);
  EXPECT_EQ(HitTestSliders(561, 634, 0, 73, 73), SliderHit::RateThumb);  // above the bar itself
  EXPECT_EQ(HitTestSliders(560, 640, 0, 73, 73), SliderHit::RateBar);
  EXPECT_EQ(HitTestSliders(565, 664, 0, 73, 73), SliderHit::VolumeThumb);
  EXPECT_EQ(HitTestSliders(600, 660, 0, 73, 73), SliderHit::VolumeBar);
  EXPECT_EQ(HitTestSliders(600, 656, 0, 73, 73), SliderHit::None);
  // A thumb at the far end still wins over the bar under it.
  EXPECT_EQ(HitTestSliders(672, 690, 600, 73, 73), SliderHit::PositionThumb);
}

TEST(SliderRules, PositionOffsets) {
  EXPECT_EQ(PositionOffsetForClick(70), 0);
  EXPECT_EQ(PositionOffsetForClick(71), 1);
  EXPECT_EQ(PositionOffsetForClick(667), 597);
  EXPECT_EQ(PositionOffsetForClick(668), 600);
  EXPECT_EQ(PositionOffsetForDrag(71), 0);
  EXPECT_EQ(PositionOffsetForDrag(72), 2);
  EXPECT_EQ(PositionOffsetForDrag(670), 600);
  EXPECT_EQ(PositionOffsetForDrag(671), 595);
  EXPECT_EQ(PositionOffsetForDrag(-50), 0);
}

TEST(SliderRules, RateSnapsToFivePlacesAndSpeeds) {
  const struct {
    int x, position;
    double rate;
  } cases[] = {{400, 0, 0.25},  {507, 0, 0.25},  {508, 35, 0.5},  {542, 35, 0.5},  {543, 73, 1.0},
               {560, 73, 1.0},  {579, 73, 1.0},  {580, 108, 2.0}, {615, 108, 2.0}, {616, 145, 4.0},
               {638, 145, 4.0}, {639, 145, 4.0}, {900, 145, 4.0}};
  for (const auto& c : cases) {
    EXPECT_EQ(RatePositionFor(c.x), c.position) << c.x;
    EXPECT_EQ(RateForPosition(RatePositionFor(c.x)), c.rate) << c.x;
  }
  EXPECT_EQ(RateForPosition(19), 0.25);
  EXPECT_EQ(RateForPosition(20), 0.5);
  EXPECT_EQ(RateForPosition(132), 4.0);
}

TEST(SliderRules, VolumeLevels) {
  EXPECT_EQ(VolumePositionForClick(489), 0);
  EXPECT_EQ(VolumePositionForClick(633), 143);
  EXPECT_EQ(VolumePositionForClick(634), 145);
  EXPECT_EQ(VolumePositionForDrag(636), 146);  // a drag reaches one further than a click
  EXPECT_EQ(VolumePositionForDrag(637), 145);
  EXPECT_EQ(VolumePercentFor(0), 0);
  EXPECT_EQ(VolumePercentFor(1), 0);
  EXPECT_EQ(VolumePercentFor(73), 48);
  EXPECT_EQ(VolumePercentFor(146), 97);
}

TEST(SliderRules, SeekTargetsStayInsideTheRecording) {
  EXPECT_EQ(SeekTargetForClick(230, 60 * kSecond, 600), 23 * kSecond);
  EXPECT_EQ(SeekTargetForClick(600, 60 * kSecond, 600), 60 * kSecond - 1);
  EXPECT_EQ(SeekTargetForClick(1, 7, 600), 0);  // integer arithmetic truncates
  EXPECT_EQ(SeekTargetForRelease(300, 60 * kSecond), 30 * kSecond);
  EXPECT_EQ(SeekTargetForRelease(600, 60 * kSecond), 60 * kSecond - 1);
  // An hour-long recording at the far end does not overflow.
  EXPECT_EQ(SeekTargetForClick(1772, 3600 * kSecond, 1772), 3600 * kSecond - 1);
}

TEST(SliderRules, OffsetForPositionTruncatesAndStaysOnTheBar) {
  EXPECT_EQ(OffsetForPosition(65 * kSecond, 120 * kSecond, 600), 325);
  EXPECT_EQ(OffsetForPosition(1, 3, 600), 200);
  EXPECT_EQ(OffsetForPosition(5, 0, 600), 0);  // nothing open: never divided by
  EXPECT_EQ(OffsetForPosition(-5, 100, 600), 0);
  EXPECT_EQ(OffsetForPosition(101, 100, 600), 600);
}

TEST(SliderRules, FullScreenThumbAndOffsets) {
  const Rect bar{139, 1000, 1911, 1011};
  EXPECT_EQ(FullScreenThumbTop(bar), 996);
  EXPECT_EQ(FullScreenThumbRect(bar, 10), Rect::FromSize(149, 996, 11, 19));
  EXPECT_EQ(FullScreenThumbStrip(bar), Rect::FromSize(139, 996, 1772 + 11, 19));
  EXPECT_EQ(FullScreenOffsetForClick(139, bar), 0);
  EXPECT_EQ(FullScreenOffsetForClick(140, bar), 1);
  EXPECT_EQ(FullScreenOffsetForClick(1911, bar), 1772);
  EXPECT_EQ(FullScreenOffsetForDrag(138, bar), 0);
  EXPECT_EQ(FullScreenOffsetForDrag(1911, bar), 1772);
  EXPECT_EQ(FullScreenOffsetForDrag(3000, bar), 1772);
}

}  // namespace
