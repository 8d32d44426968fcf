// The printed page's geometry, for the printable areas a printer reports.
#include <gtest/gtest.h>

#include <vector>

#include "manager/output/rules/page_geometry.h"

namespace {

using output::PageLine;
using output::PageRect;
using output::PageSize;
using output::PictureFit;

constexpr int kA4Short = 4960;  // A4 at 600 dpi, as a printer driver reports its printable area
constexpr int kA4Long = 7016;

TEST(VirtualPageSize, KeepsThePrintableAreasProportions) {
  EXPECT_EQ(output::VirtualPageSize(kA4Short, kA4Long), (PageSize{1280, 1810, false}));
  EXPECT_EQ(output::VirtualPageSize(kA4Long, kA4Short), (PageSize{1527, 1080, true}));
  EXPECT_EQ(output::VirtualPageSize(3000, 3000), (PageSize{1280, 1280, false})) << "square counts as portrait";
  EXPECT_EQ(output::VirtualPageSize(5100, 6600), (PageSize{1280, 1656, false}));  // letter
  // Areas of coprime sides take the same truncation as reduced ones.
  EXPECT_EQ(output::VirtualPageSize(4958, 7017), (PageSize{1280, 1811, false}));
  EXPECT_FALSE(output::VirtualPageSize(0, 7016));
  EXPECT_FALSE(output::VirtualPageSize(4960, -1));
  EXPECT_FALSE(output::VirtualPageSize(1, 1'000'000)) << "a strip, not a page";
}

TEST(TwoPictureLayout, A4PortraitAt600Dpi) {
  const auto layout = output::TwoPictureLayout(*output::VirtualPageSize(kA4Short, kA4Long));
  ASSERT_EQ(layout.pictures.size(), 2u);
  EXPECT_EQ(layout.pictures[0].area, (PageRect{320, 371, 960, 851}));
  EXPECT_EQ(layout.pictures[1].area, (PageRect{320, 1024, 960, 1504}));
  EXPECT_EQ(layout.pictures[0].caption, (PageRect{320, 851, 960, 881}));
  EXPECT_EQ(layout.pictures[1].caption, (PageRect{320, 1504, 960, 1534}));
  EXPECT_EQ(layout.title, (PageRect{160, 100, 1120, 130}));
  EXPECT_EQ(layout.upperRule, (PageLine{160, 130, 1120, 130}));
  EXPECT_EQ(layout.speedLine, (PageRect{160, 200, 1120, 230}));
  EXPECT_EQ(layout.lowerRule, (PageLine{160, 1675, 1120, 1675}));
  EXPECT_EQ(layout.printTime, (PageRect{160, 1680, 1120, 1710}));
}

TEST(TwoPictureLayout, A4LandscapePutsThePicturesSideBySide) {
  const auto layout = output::TwoPictureLayout(*output::VirtualPageSize(kA4Long, kA4Short));
  EXPECT_EQ(layout.title, (PageRect{98, 100, 1427, 130}));
  EXPECT_EQ(layout.pictures[0].area, (PageRect{98, 300, 738, 780}));
  EXPECT_EQ(layout.pictures[1].area, (PageRect{787, 300, 1427, 780}));
  EXPECT_EQ(layout.pictures[1].caption, (PageRect{787, 780, 1427, 810}));
  EXPECT_EQ(layout.lowerRule, (PageLine{98, 945, 1427, 945}));
  EXPECT_EQ(layout.printTime, (PageRect{98, 950, 1427, 980}));
}

TEST(TwoPictureLayout, SquarePageOverlapsTheSlotsByFive) {
  const auto layout = output::TwoPictureLayout(*output::VirtualPageSize(4000, 4000));
  EXPECT_EQ(layout.pictures[0].area, (PageRect{320, 195, 960, 675}));
  EXPECT_EQ(layout.pictures[1].area, (PageRect{320, 670, 960, 1150}));
  // Slot B, drawn last, covers slot A's caption.
  EXPECT_LT(layout.pictures[1].area.top, layout.pictures[0].caption.bottom);
}

TEST(OnePictureLayout, PortraitFitsInWholeSteps) {
  const PageSize a4 = *output::VirtualPageSize(kA4Short, kA4Long);
  // 720 high: 16 x 9 steps up to the text width.
  const auto hd = output::OnePictureLayout(a4, 1280, 720);
  ASSERT_EQ(hd.pictures.size(), 1u);
  EXPECT_EQ(hd.pictures[0].area, (PageRect{160, 632, 1120, 1172}));
  EXPECT_EQ(hd.pictures[0].fit, PictureFit::Stretch);
  EXPECT_EQ(hd.pictures[0].caption, (PageRect{160, 1172, 1920, 1202}));
  // Anything else: 4 x 3 steps; a small frame is enlarged.
  const auto vga = output::OnePictureLayout(a4, 320, 240);
  EXPECT_EQ(vga.pictures[0].area, (PageRect{160, 542, 1120, 1262}));
  EXPECT_EQ(vga.title, (PageRect{160, 100, 1120, 130}));
  // The height limits on a short page: 1280 x 1300 leaves 1035 rows, 1035 / 3 = 345 steps,
  // but 960 / 4 = 240 is the tighter one.
  EXPECT_EQ(output::FitInSteps(640, 480, 960, 1035), (output::FittedSize{960, 720}));
  EXPECT_EQ(output::FitInSteps(1280, 720, 960, 90), (output::FittedSize{160, 90}));
  EXPECT_EQ(output::FitInSteps(1280, 720, 10, 5), (output::FittedSize{16, 9})) << "at least one step";
}

// Whatever the frame's size, the printed picture keeps its proportions: no unequal scale.
TEST(OnePictureLayout, FramesOfAnySizeAreNeverStretched) {
  struct Case {
    int width;
    int height;
  };
  const std::vector<Case> cases = {{854, 480}, {1280, 720}, {640, 480}, {1920, 1080}, {853, 479}, {720, 576}};
  const PageSize portrait = *output::VirtualPageSize(kA4Short, kA4Long);
  const PageSize landscape = *output::VirtualPageSize(kA4Long, kA4Short);
  for (const Case& c : cases) {
    for (const PageSize& page : {portrait, landscape}) {
      const auto layout = output::OnePictureLayout(page, c.width, c.height);
      const PageRect area = output::PicturePlacement(layout.pictures[0], c.width, c.height);
      // Equal scale to within the rounding of one pixel.
      const double scaleX = double(area.Width()) / c.width;
      const double scaleY = double(area.Height()) / c.height;
      EXPECT_NEAR(scaleX, scaleY, 1.0 / c.height) << c.width << "x" << c.height << " landscape " << page.landscape;
      EXPECT_LE(area.right, page.width);
    }
  }
  EXPECT_EQ(output::FitInSteps(854, 480, 960, 1035), (output::FittedSize{854, 480}));
}

TEST(OnePictureLayout, LandscapeShowsAVgaFrameAtItsOwnSize) {
  const auto layout = output::OnePictureLayout(*output::VirtualPageSize(kA4Long, kA4Short), 640, 480);
  EXPECT_EQ(layout.pictures[0].area, (PageRect{418, 300, 1058, 780}));
  EXPECT_EQ(layout.pictures[0].caption, (PageRect{418, 780, 1058, 810}));
  EXPECT_EQ(layout.title, (PageRect{98, 100, 1378, 130}));
  EXPECT_EQ(layout.lowerRule, (PageLine{98, 945, 1378, 945}));
  EXPECT_EQ(layout.printTime, (PageRect{98, 950, 1378, 980}));
}

TEST(OnePictureLayout, LandscapeFitsWhatWouldCoverTheTextsOrLeaveThePage) {
  const PageSize page = *output::VirtualPageSize(kA4Long, kA4Short);
  // At its own size a 1280 x 720 frame would start at row 180, over the G-sensor and speed
  // lines, and end at column 2018 of a 1527-wide page.
  const auto hd = output::OnePictureLayout(page, 1280, 720);
  const PageRect area = hd.pictures[0].area;
  EXPECT_EQ(area.Width() * 9, area.Height() * 16);
  EXPECT_GE(area.top, hd.speedLine.bottom);
  EXPECT_LE(area.bottom + 30, hd.lowerRule.y1);
  EXPECT_LE(area.right, page.width);
  EXPECT_EQ(hd.title.right, 1427) << "the text band of the two-picture page";
  EXPECT_EQ(hd.pictures[0].caption.top, area.bottom);

  // Without a frame the texts keep their width and the slot is a white 4:3 box.
  const auto none = output::OnePictureLayout(page, 0, 0);
  EXPECT_EQ(none.title, (PageRect{98, 100, 1427, 130}));
  EXPECT_EQ(none.pictures[0].area.Width() * 3, none.pictures[0].area.Height() * 4);
}

TEST(PicturePlacement, CopiesUnscaledButShrinksWhatTheSlotCannotHold) {
  const output::PictureSlot slot{{320, 371, 960, 851}, PictureFit::Unscaled, {}};
  EXPECT_EQ(output::PicturePlacement(slot, 640, 480), (PageRect{320, 371, 960, 851}));
  EXPECT_EQ(output::PicturePlacement(slot, 320, 240), (PageRect{320, 371, 640, 611})) << "top-left, white around";
  EXPECT_EQ(output::PicturePlacement(slot, 1280, 720), (PageRect{320, 431, 960, 791})) << "whole, centred";
  EXPECT_EQ(output::PicturePlacement(slot, 480, 960), (PageRect{520, 371, 760, 851}));
  EXPECT_EQ(output::PicturePlacement(slot, 0, 0).Width(), 0);

  const output::PictureSlot stretched{{160, 632, 1120, 1172}, PictureFit::Stretch, {}};
  EXPECT_EQ(output::PicturePlacement(stretched, 640, 480), stretched.area);
}

}  // namespace
