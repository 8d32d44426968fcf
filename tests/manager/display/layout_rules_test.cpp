// Window placement, the aspect fit of the video and the button tables of the two layouts.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "manager/display/rules/button_table.h"
#include "manager/display/rules/video_layout.h"
#include "manager/display/rules/window_layout.h"

namespace {

using namespace display;

TEST(VideoLayout, WindowIsCentredEvenOnASmallDesktop) {
  EXPECT_EQ(CentredOrigin(1280, 1024), (std::array<int, 2>{128, 128}));
  EXPECT_EQ(CentredOrigin(800, 600), (std::array<int, 2>{-112, -84}));
  EXPECT_EQ(CentredOrigin(1025, 769), (std::array<int, 2>{0, 0}));
}

TEST(VideoLayout, FitTakesWholeAspectSteps) {
  const PictureSize hd{1280, 720};
  const PictureSize vga{640, 480};
  // 720p on a 1920 x 1080 screen: 105 steps of 16 x 9, centred.
  EXPECT_EQ(FitVideo(FullScreenVideoArea(1920, 1080), hd), Rect::FromSize(120, 49, 1680, 945));
  EXPECT_EQ(FitVideo(kNormalVideoArea, vga), Rect::FromSize(25, 60, 640, 480));
  EXPECT_EQ(FitVideo(kNormalVideoArea, hd), Rect::FromSize(25, 120, 640, 360));
  // An unknown size fits as 4 x 3; so does any height but 720.
  EXPECT_EQ(FitVideo(kNormalVideoArea, std::nullopt), Rect::FromSize(25, 60, 640, 480));
  EXPECT_EQ(FitVideo(kNormalVideoArea, PictureSize{1920, 1080}), Rect::FromSize(25, 60, 640, 480));
  // An area narrower than two steps keeps one step.
  EXPECT_EQ(FitVideo(Rect::FromSize(0, 0, 20, 100), hd), Rect::FromSize(2, 45, 16, 9));
  // The height limits a wide area.
  EXPECT_EQ(FitVideo(Rect::FromSize(0, 0, 1000, 90), vga), Rect::FromSize(440, 0, 120, 90));
}

TEST(VideoLayout, FullScreenPlaces) {
  EXPECT_EQ(FullScreenVideoArea(1920, 1080), Rect::FromSize(9, 47, 1902, 949));
  const Rect bar = FullScreenPositionBar(1920, 1080);
  EXPECT_EQ(bar, (Rect{139, 1000, 1911, 1011}));
  EXPECT_EQ(FullScreenTimeTextRect(bar), (Rect{9, 998, 139, 1017}));
}

TEST(ButtonTables, BothLayoutsPlaceTheSameButtonsWithTheirSizes) {
  const auto normal = NormalButtonPlaces();
  const auto full = FullScreenButtonPlaces(1920, 1080);
  std::set<int> normalIds;
  for (const ButtonPlace& place : normal) normalIds.insert(place.id);
  for (const ButtonPlace& place : full) {
    ASSERT_TRUE(normalIds.count(place.id)) << place.id;
    EXPECT_EQ(place.rect.Width(), FindImageButton(place.id)->place.Width()) << place.id;
    EXPECT_EQ(place.rect.Height(), FindImageButton(place.id)->place.Height()) << place.id;
  }
  EXPECT_EQ(normalIds.size(), normal.size());
  // Every button has a place on the normal skin, and no two overlap.
  for (const ImageButtonSpec& a : kImageButtons) {
    EXPECT_FALSE(a.place.Empty()) << a.id;
    EXPECT_LE(a.place.right, kNormalWidth) << a.id;
    EXPECT_LE(a.place.bottom, kNormalHeight) << a.id;
    for (const ImageButtonSpec& b : kImageButtons) {
      const bool apart = a.place.right <= b.place.left || b.place.right <= a.place.left ||
                         a.place.bottom <= b.place.top || b.place.bottom <= a.place.top;
      EXPECT_TRUE(a.id == b.id || apart) << a.id << " overlaps " << b.id;
    }
  }
  const auto placeOf = [&](int id) {
    for (const ButtonPlace& place : full) {
      if (place.id == id) return place.rect;
    }
    return Rect{};
  };
  EXPECT_EQ(placeOf(commands::kPlay), Rect::FromSize(935, 1027, 51, 45));
  EXPECT_EQ(placeOf(commands::kClose), Rect::FromSize(1870, 0, 37, 45));
  EXPECT_EQ(placeOf(commands::kPrevious), Rect::FromSize(818, 1033, 34, 32));
  // An odd width halves by shifting.
  EXPECT_EQ(FullScreenButtonPlaces(1921, 1080)[3].rect.left, 935);
}

// A place typed wrong (right before left, off the 1024 x 768 skin, a data label over the video)
// shows as a control that is missing or drawn over another.
TEST(WindowLayout, EveryNormalPlaceLiesOnTheSkinBesideTheVideo) {
  struct Case {
    int id;
    Rect rect;
  };
  std::vector<Case> cases = {{controls::kLargeVideo, kNormalVideoArea},
                             {controls::kSmallVideo, kSmallVideoArea},
                             {controls::kRecordingList, kRecordingListArea}};
  for (const LabelPlace& label : kLabelPlaces) cases.push_back({label.id, label.rect});
  for (const ButtonPlace& button : kNormalButtonPlaces) cases.push_back({button.id, button.rect});
  std::set<int> ids;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_TRUE(ids.insert(c.id).second) << "placed twice";
    EXPECT_FALSE(c.rect.Empty());
    EXPECT_GE(c.rect.left, 0);
    EXPECT_GE(c.rect.top, 0);
    EXPECT_LE(c.rect.right, kNormalWidth);
    EXPECT_LE(c.rect.bottom, kNormalHeight);
    if (c.id == controls::kLargeVideo) continue;
    const bool apart = c.rect.right <= kNormalVideoArea.left || kNormalVideoArea.right <= c.rect.left ||
                       c.rect.bottom <= kNormalVideoArea.top || kNormalVideoArea.bottom <= c.rect.top;
    EXPECT_TRUE(apart) << "over the large video window";
  }
}

TEST(ButtonTables, ImageChoice) {
  ButtonDrawState state;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Push, state), 0);
  state.hover = true;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Push, state), 2);
  state.selected = true;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Push, state), 1);  // pressed wins over hover

  ButtonDrawState disabled;
  disabled.disabled = true;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Push, disabled), 3);
  disabled.focused = true;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Push, disabled), 0);    // focused and disabled: normal
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Toggle, disabled), 3);  // a toggle never shows focus

  // The full-screen button shows its second set while toggled; a click alone does not.
  ButtonDrawState toggled;
  toggled.toggled = true;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::ProgramSet, toggled), 4);
  toggled.hover = true;
  EXPECT_EQ(ButtonImageIndex(ButtonKind::ProgramSet, toggled), 6);
  // A plain toggle button shows "pressed" while toggled, from its only set.
  EXPECT_EQ(ButtonImageIndex(ButtonKind::Toggle, toggled), 1);
  EXPECT_EQ(StripImageCount(ButtonKind::ToggleWithText), 8);
  EXPECT_EQ(StripImageCount(ButtonKind::Toggle), 4);
}

}  // namespace
