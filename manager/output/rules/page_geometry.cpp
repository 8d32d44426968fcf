#include "manager/output/rules/page_geometry.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace output {
namespace {

// A page this long would be a strip, not a sheet; it also keeps the arithmetic in int.
constexpr std::int64_t kLongestSide = 100'000;

constexpr int kSlotWidth = 640;
constexpr int kSlotHeight = 480;
constexpr int kLineHeight = 30;

// Title, rules, the three data lines and the print time between text left and text right.
PageLayout TextBand(const PageSize& page, int left, int right) {
  PageLayout layout;
  layout.size = page;
  const int h = page.height;
  layout.title = {left, 100, right, 130};
  layout.upperRule = {left, 130, right, 130};
  layout.dateLine = {left, 140, right, 170};
  layout.gSensorLine = {left, 170, right, 200};
  layout.speedLine = {left, 200, right, 230};
  layout.lowerRule = {left, h - 135, right, h - 135};
  layout.printTime = {left, h - 130, right, h - 100};
  return layout;
}

PictureSlot SlotWithCaptionBelow(PageRect area, PictureFit fit) {
  return {area, fit, {area.left, area.bottom, area.right, area.bottom + kLineHeight}};
}

// Landscape margin unit: the room beside 1280 pixels of content, in fifths.
int LandscapeMargin(const PageSize& page) { return (page.width - 1280) / 5; }

}  // namespace

std::optional<PageSize> VirtualPageSize(int deviceWidth, int deviceHeight) {
  if (deviceWidth <= 0 || deviceHeight <= 0) return std::nullopt;
  const std::int64_t g = std::gcd(deviceWidth, deviceHeight);
  const std::int64_t a = deviceWidth / g;
  const std::int64_t b = deviceHeight / g;
  PageSize page;
  if (deviceWidth > deviceHeight) {
    const std::int64_t width = 1080 * a / b;
    if (width > kLongestSide) return std::nullopt;
    page = {static_cast<int>(width), 1080, true};
  } else {
    const std::int64_t height = 1280 * b / a;
    if (height > kLongestSide) return std::nullopt;
    page = {1280, static_cast<int>(height), false};
  }
  return page;
}

FittedSize FitInSteps(int frameWidth, int frameHeight, int maxWidth, int maxHeight) {
  // The frame's own proportions in lowest terms; 4 x 3 when there is no frame.
  int u = 4;
  int v = 3;
  if (frameWidth > 0 && frameHeight > 0) {
    const int g = std::gcd(frameWidth, frameHeight);
    u = frameWidth / g;
    v = frameHeight / g;
  }
  const int k = std::min(maxWidth / u, maxHeight / v);
  const bool coarseStep = u > 16 || v > 9;
  if (k >= 1 || !coarseStep || maxWidth <= 0 || maxHeight <= 0) {
    const int steps = std::max(k, 1);
    return {steps * u, steps * v};
  }
  // Proportions with no small whole step (853 x 479) where one step is too large: the largest
  // size of those proportions that fits.
  const std::int64_t w = u;
  const std::int64_t h = v;
  if (h * maxWidth > w * maxHeight) return {std::max(1, static_cast<int>(w * maxHeight / h)), maxHeight};
  return {maxWidth, std::max(1, static_cast<int>(h * maxWidth / w))};
}

PageLayout TwoPictureLayout(const PageSize& page) {
  if (page.landscape) {
    const int m = LandscapeMargin(page);
    PageLayout layout = TextBand(page, 2 * m, 3 * m + 1280);
    layout.pictures.push_back(
        SlotWithCaptionBelow({2 * m, 300, 2 * m + kSlotWidth, 300 + kSlotHeight}, PictureFit::Unscaled));
    layout.pictures.push_back(SlotWithCaptionBelow({3 * m + kSlotWidth, 300, 3 * m + 2 * kSlotWidth, 300 + kSlotHeight},
                                                   PictureFit::Unscaled));
    return layout;
  }
  // s spreads the spare height over the gaps; on nearly square pages it is negative and the
  // slots overlap, slot B (drawn last) on top.
  const int h = page.height;
  const int s = (h - 1385) / 3;
  PageLayout layout = TextBand(page, 160, 1120);
  layout.pictures.push_back(SlotWithCaptionBelow({320, 230 + s, 960, 710 + s}, PictureFit::Unscaled));
  layout.pictures.push_back(SlotWithCaptionBelow({320, h - 645 - s, 960, h - 165 - s}, PictureFit::Unscaled));
  return layout;
}

PageLayout OnePictureLayout(const PageSize& page, int frameWidth, int frameHeight) {
  const int w = std::max(frameWidth, 0);
  const int h = std::max(frameHeight, 0);
  if (!page.landscape) {
    const int pageHeight = page.height;
    PageLayout layout = TextBand(page, 160, 1120);
    const FittedSize fitted = FitInSteps(w, h, 960, pageHeight - 265);
    const int x = (960 - fitted.width) / 2 + 160;
    const int y = (pageHeight - fitted.height - 265) / 2 + 130;
    const int bottom = y + fitted.height;
    layout.pictures.push_back(
        {{x, y, x + fitted.width, bottom}, PictureFit::Stretch, {x, bottom, 3 * w / 2, bottom + kLineHeight}});
    return layout;
  }

  const int m = LandscapeMargin(page);
  // The picture at its own size, centred on the page's middle row, when it stays clear of the
  // text lines above, the rule below and the right edge.
  const int left = 2 * m + w / 2;
  const int top = 540 - h / 2;
  const int bottom = 540 + h / 2;
  // The room between the speed line and the lower rule, a little apart from both.
  const int bandRight = 3 * m + 1280;
  const int bandTop = 240;
  const int bandBottom = page.height - 135 - 10 - kLineHeight;
  if (w > 0 && h > 0 && left + w <= bandRight && top >= bandTop && bottom <= bandBottom) {
    PageLayout layout = TextBand(page, 2 * m, 2 * m + 2 * w);
    layout.pictures.push_back(SlotWithCaptionBelow({left, top, left + w, bottom}, PictureFit::Stretch));
    return layout;
  }
  // Larger frames (720 high) would cover the speed line and run off the sheet, and without a
  // frame the text band would have no width: fit the picture between the lines instead.
  PageLayout layout = TextBand(page, 2 * m, bandRight);
  const int boxWidth = bandRight - 2 * m;
  const int boxHeight = bandBottom - bandTop;
  const FittedSize fitted = FitInSteps(w, h, boxWidth, boxHeight);
  const int x = 2 * m + (boxWidth - fitted.width) / 2;
  const int y = bandTop + (boxHeight - fitted.height) / 2;
  layout.pictures.push_back(SlotWithCaptionBelow({x, y, x + fitted.width, y + fitted.height}, PictureFit::Stretch));
  return layout;
}

PageRect PicturePlacement(const PictureSlot& slot, int frameWidth, int frameHeight) {
  const PageRect& area = slot.area;
  if (frameWidth <= 0 || frameHeight <= 0 || area.Width() <= 0 || area.Height() <= 0) {
    return {area.left, area.top, area.left, area.top};
  }
  if (slot.fit == PictureFit::Stretch) return area;
  if (frameWidth <= area.Width() && frameHeight <= area.Height()) {
    return {area.left, area.top, area.left + frameWidth, area.top + frameHeight};
  }
  // Shrink by the tighter of the two ratios, in integers so the result is exact.
  const std::int64_t w = frameWidth;
  const std::int64_t h = frameHeight;
  int width = area.Width();
  int height = static_cast<int>(h * area.Width() / w);
  if (h * area.Width() > w * area.Height()) {
    height = area.Height();
    width = static_cast<int>(w * area.Height() / h);
  }
  const int left = area.left + (area.Width() - width) / 2;
  const int top = area.top + (area.Height() - height) / 2;
  return {left, top, left + width, top + height};
}

}  // namespace output
