// The two window layouts, the panel and the small geometric rules of the skinned controls.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tracker/app/rules/panel_layout.h"
#include "tracker/app/rules/progress_bars.h"
#include "tracker/app/rules/skin_cells.h"
#include "tracker/app/rules/window_layout.h"

namespace {

using tracker::LayoutKind;
using tracker::Rect;

std::vector<std::pair<std::string, Rect>> Controls(const tracker::WindowLayout& l) {
  return {{"row list", l.row_list},
          {"open", l.open},
          {"save", l.save},
          {"print", l.print},
          {"language", l.language_box},
          {"play forward", l.play_forward},
          {"play reverse", l.play_reverse},
          {"show time", l.show_time},
          {"time zone", l.time_zone_box},
          {"speed", l.speed_box},
          {"daylight saving", l.daylight_saving},
          {"driver", l.driver},
          {"purpose", l.purpose},
          {"comments", l.comments},
          {"slider", l.slider},
          {"minimise", l.minimise},
          {"close", l.close},
          {"map", l.map}};
}

TEST(WindowLayout, TheLargeLayoutNeedsTheWholeWindowOnTheScreen) {
  EXPECT_EQ(tracker::ChooseLayout(1020, 760), LayoutKind::kLarge);
  EXPECT_EQ(tracker::ChooseLayout(1920, 1080), LayoutKind::kLarge);
  EXPECT_EQ(tracker::ChooseLayout(1019, 1080), LayoutKind::kSmall);
  EXPECT_EQ(tracker::ChooseLayout(1920, 759), LayoutKind::kSmall);
  EXPECT_EQ(tracker::ChooseLayout(800, 800), LayoutKind::kSmall);
  EXPECT_EQ(tracker::LayoutOf(LayoutKind::kLarge).window, (Rect{0, 0, 1020, 760}));
  EXPECT_EQ(tracker::LayoutOf(LayoutKind::kSmall).window, (Rect{0, 0, 800, 600}));
}

TEST(WindowLayout, EveryControlLiesInsideTheWindowBelowTheCaptionAndApartFromTheOthers) {
  for (const LayoutKind kind : {LayoutKind::kLarge, LayoutKind::kSmall}) {
    const tracker::WindowLayout& layout = tracker::LayoutOf(kind);
    const auto controls = Controls(layout);
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const auto& [name, rect] = controls[i];
      EXPECT_TRUE(layout.window.Contains(rect)) << tracker::LayoutName(kind) << ": " << name;
      if (name != "minimise" && name != "close") {
        EXPECT_GE(rect.y, tracker::kCaptionBandHeight) << tracker::LayoutName(kind) << ": " << name;
      }
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        EXPECT_FALSE(rect.Intersects(controls[j].second))
            << tracker::LayoutName(kind) << ": " << name << " overlaps " << controls[j].first;
      }
    }
    EXPECT_FALSE(layout.title_text.Intersects(layout.minimise)) << tracker::LayoutName(kind);
    EXPECT_LE(layout.title_text.bottom(), tracker::kCaptionBandHeight);
  }
}

TEST(PanelLayout, LabelsAndValuesSitBetweenTheListAndTheEditsWithoutCoveringEachOther) {
  for (const LayoutKind kind : {LayoutKind::kLarge, LayoutKind::kSmall}) {
    const tracker::WindowLayout& layout = tracker::LayoutOf(kind);
    const auto items = tracker::PanelItems(kind);
    ASSERT_EQ(items.size(), 26u);
    int values = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const tracker::PanelItem& item = items[i];
      EXPECT_GE(item.rect.y, layout.row_list.bottom()) << i;
      EXPECT_LT(item.rect.x, layout.map.x) << i;
      if (item.value != tracker::PanelValue::kNone) {
        ++values;
        EXPECT_EQ(item.align, tracker::PanelAlign::kRight);
        EXPECT_EQ(item.text_item, 0);
      } else {
        EXPECT_GE(item.text_item, 1);
        EXPECT_LE(item.text_item, 18);
      }
      for (const auto& [name, control] : Controls(layout)) {
        if (name != "map") {
          EXPECT_FALSE(item.rect.Intersects(control)) << i << " overlaps " << name;
        }
      }
      for (std::size_t j = i + 1; j < items.size(); ++j) {
        EXPECT_FALSE(item.rect.Intersects(items[j].rect)) << tracker::LayoutName(kind) << ": " << i << " and " << j;
      }
    }
    EXPECT_EQ(values, 8);
    // The Trip Information labels stand beside their edit boxes.
    EXPECT_LT(items[23].rect.right(), layout.driver.x);
    EXPECT_LT(std::abs(items[23].rect.y - layout.driver.y), 4);
    EXPECT_GE(items[25].rect.y, layout.comments.y);
    EXPECT_LT(items[25].rect.y, layout.comments.bottom());
  }
}

TEST(PanelLayout, ValuesComeFromTheRowsShownFigures) {
  tracker::RowDisplay shown;
  shown.distance_km = "6.38";
  shown.parking_duration = "(1)  01:00:00";
  shown.max_mph = "34.56";
  EXPECT_EQ(tracker::PanelValueText(shown, tracker::PanelValue::kDistanceKm), "6.38");
  EXPECT_EQ(tracker::PanelValueText(shown, tracker::PanelValue::kStopTime), "(1)  01:00:00");
  EXPECT_EQ(tracker::PanelValueText(shown, tracker::PanelValue::kMaxMph), "34.56");
  EXPECT_EQ(tracker::PanelValueText(shown, tracker::PanelValue::kNone), "");
  EXPECT_STREQ(tracker::PanelValueName(tracker::PanelValue::kStopTime), "stopTime");
}

TEST(ProgressBars, TwoBarsOfOneSizeTwentyPixelsApart) {
  const tracker::ProgressBars bars = tracker::ProgressBarRects(tracker::kProgressWidth, tracker::kProgressHeight);
  EXPECT_EQ(bars.upper, (Rect{20, 20, 320, 22}));
  EXPECT_EQ(bars.lower, (Rect{20, 62, 320, 22}));
  EXPECT_LE(bars.lower.bottom(), tracker::kProgressHeight);
  EXPECT_EQ(tracker::ProgressFill(bars.upper, 0), 0);
  EXPECT_EQ(tracker::ProgressFill(bars.upper, 45), 144);
  EXPECT_EQ(tracker::ProgressFill(bars.upper, 100), 320);
  EXPECT_EQ(tracker::ProgressFill(bars.upper, 250), 320);
  EXPECT_EQ(tracker::ProgressFill(bars.upper, -3), 0);
  // A window too low for the stated bars still gives bars of no height rather than negative.
  EXPECT_GE(tracker::ProgressBarRects(100, 50).upper.height, 0);
}

TEST(SkinCells, DisabledBeatsPressedBeatsHoverAndOnUsesTheSecondSet) {
  using tracker::ButtonCell;
  using tracker::ButtonKind;
  EXPECT_EQ(ButtonCell(ButtonKind::kPlain, {}), 0);
  EXPECT_EQ(ButtonCell(ButtonKind::kPlain, {.pressed = true, .hover = true}), 1);
  EXPECT_EQ(ButtonCell(ButtonKind::kPlain, {.hover = true}), 2);
  EXPECT_EQ(ButtonCell(ButtonKind::kPlain, {.pressed = true, .hover = true, .disabled = true}), 3);
  EXPECT_EQ(ButtonCell(ButtonKind::kPlain, {.on = true}), 0);
  // A toggle that is on looks pressed, also under the mouse; disabled it looks disabled.
  EXPECT_EQ(ButtonCell(ButtonKind::kToggle, {.hover = true, .on = true}), 1);
  EXPECT_EQ(ButtonCell(ButtonKind::kToggle, {.disabled = true, .on = true}), 3);
  EXPECT_EQ(ButtonCell(ButtonKind::kPlay, {.on = true}), 4);
  EXPECT_EQ(ButtonCell(ButtonKind::kPlay, {.hover = true, .on = true}), 6);
  EXPECT_EQ(ButtonCell(ButtonKind::kCheck, {.disabled = true, .on = true}), 7);
  EXPECT_EQ(ButtonCell(ButtonKind::kCheck, {.pressed = true}), 1);
  EXPECT_EQ(tracker::ButtonCellCount(ButtonKind::kCheck), 8);
  EXPECT_EQ(tracker::ButtonCellCount(ButtonKind::kToggle), 4);

  EXPECT_EQ(tracker::ThumbCellX(false, false, false), 0);
  EXPECT_EQ(tracker::ThumbCellX(true, true, false), 16);
  EXPECT_EQ(tracker::ThumbCellX(false, true, false), 32);
  EXPECT_EQ(tracker::ThumbCellX(true, true, true), 48);
  EXPECT_EQ(tracker::SliderFilledWidth(50, 453), 226);
  EXPECT_EQ(tracker::SliderFilledWidth(120, 453), 453);
}

}  // namespace
