#include "manager/display/rules/slider_rules.h"

#include <cmath>

namespace display {

SliderHit HitTestSliders(int x, int y, int positionOffset, int ratePosition, int volumePosition) {
  const int positionThumb = kPositionBarLeft + positionOffset;
  if (Rect{positionThumb, kPositionThumbTop, positionThumb + kThumbWidth, kPositionBar.bottom}.Contains(x, y))
    return SliderHit::PositionThumb;
  const int rateThumb = kSliderLeft + ratePosition;
  if (Rect{rateThumb, kRateThumbTop, rateThumb + kThumbWidth, kRateBar.bottom}.Contains(x, y))
    return SliderHit::RateThumb;
  const int volumeThumb = kSliderLeft + volumePosition;
  if (Rect{volumeThumb, kVolumeThumbTop, volumeThumb + kThumbWidth, kVolumeBar.bottom}.Contains(x, y))
    return SliderHit::VolumeThumb;
  if (kPositionBar.Contains(x, y)) return SliderHit::PositionBar;
  if (kRateBar.Contains(x, y)) return SliderHit::RateBar;
  if (kVolumeBar.Contains(x, y)) return SliderHit::VolumeBar;
  return SliderHit::None;
}

int PositionOffsetForClick(int x) {
  if (x < 71) return 0;
  if (x < 668) return x - kPositionBarLeft;
  return kPositionBarWidth;
}

int PositionOffsetForDrag(int x) {
  if (x < 72) return 0;
  if (x <= 670) return x - kPositionBarLeft;
  return 595;
}

int RatePositionFor(int x) {
  if (x < 490) return 0;
  if (x >= 639) return 145;
  const int d = x - 490;
  if (d < 18) return 0;
  if (d < 53) return 35;
  if (d < 90) return kNormalRatePosition;
  if (d < 126) return 108;
  return 145;
}

double RateForPosition(int ratePosition) {
  if (ratePosition < 20) return 0.25;
  if (ratePosition < 57) return 0.5;
  if (ratePosition < 95) return 1.0;
  if (ratePosition < 132) return 2.0;
  return 4.0;
}

int VolumePositionForClick(int x) {
  if (x < 490) return 0;
  if (x < 634) return x - 490;
  return 145;
}

int VolumePositionForDrag(int x) {
  if (x < 490) return 0;
  if (x < 637) return x - 490;
  return 145;
}

int VolumePercentFor(int volumePosition) {
  if (volumePosition < 1) return 0;
  return volumePosition * 100 / 150;
}

int OffsetForPosition(std::int64_t position, std::int64_t duration, int width) {
  if (duration == 0) return 0;
  const double offset =
      std::trunc(static_cast<double>(width) * (static_cast<double>(position) / static_cast<double>(duration)));
  // A position read past the end (or before the start) keeps the thumb on the bar.
  if (!(offset > 0.0)) return 0;
  if (offset > width) return width;
  return static_cast<int>(offset);
}

namespace {

std::int64_t KeptBelow(std::int64_t target, std::int64_t duration) { return target < duration ? target : duration - 1; }

}  // namespace

std::int64_t SeekTargetForClick(int offset, std::int64_t duration, int width) {
  if (width <= 0) return 0;
  return KeptBelow(static_cast<std::int64_t>(offset) * duration / width, duration);
}

std::int64_t SeekTargetForRelease(int offset, std::int64_t duration) {
  const double target = static_cast<double>(offset) / kPositionBarWidth * static_cast<double>(duration);
  return KeptBelow(static_cast<std::int64_t>(std::trunc(target)), duration);
}

int FullScreenThumbTop(const Rect& bar) { return bar.top - ((bar.top - bar.bottom + kFullScreenThumbHeight) >> 1); }

Rect FullScreenThumbRect(const Rect& bar, int offset) {
  return Rect::FromSize(bar.left + offset, FullScreenThumbTop(bar), kFullScreenThumbWidth, kFullScreenThumbHeight);
}

Rect FullScreenThumbStrip(const Rect& bar) {
  return Rect::FromSize(bar.left, FullScreenThumbTop(bar), bar.Width() + kFullScreenThumbWidth, kFullScreenThumbHeight);
}

int FullScreenOffsetForClick(int x, const Rect& bar) {
  if (x <= bar.left) return 0;
  if (x < bar.right) return x - bar.left;
  return bar.Width();
}

int FullScreenOffsetForDrag(int x, const Rect& bar) {
  if (x < bar.left) return 0;
  if (x <= bar.right) return x - bar.left;
  return bar.Width();
}

}  // namespace display
