#pragma once

#include <cstdint>

#include "manager/display/rules/window_layout.h"

namespace display {

// The three drawn sliders of the main window: position (normal and full-screen layout), rate
// and volume. Offsets are thumb offsets in pixels from the bar's left end.

// What a press in the normal layout lands on; the first area that holds the point decides.
enum class SliderHit { None, PositionThumb, RateThumb, VolumeThumb, PositionBar, RateBar, VolumeBar };
SliderHit HitTestSliders(int x, int y, int positionOffset, int ratePosition, int volumePosition);

// Position offset for a click at x (0..600) and while the thumb is dragged to x.
int PositionOffsetForClick(int x);
int PositionOffsetForDrag(int x);

// The rate thumb snaps to five places: 0, 35, 73, 108, 145.
int RatePositionFor(int x);
// Where the rate thumb sits at the normal rate (1.0).
inline constexpr int kNormalRatePosition = 73;
// Where the volume thumb starts, before the user has moved it.
inline constexpr int kFirstVolumePosition = 73;
// 0.25, 0.5, 1.0, 2.0 or 4.0.
double RateForPosition(int ratePosition);

// Volume offset for a click at x (0..145) and while the thumb is dragged to x (0..146).
int VolumePositionForClick(int x);
int VolumePositionForDrag(int x);
// The level handed to the engine, 0..97.
int VolumePercentFor(int volumePosition);

// Offset on a bar `width` pixels long for `position` of `duration`, truncated; 0 without a
// duration.
int OffsetForPosition(std::int64_t position, std::int64_t duration, int width);

// Seek targets (100 ns units) kept below `duration`. A click computes in integers, a released
// drag of the normal position thumb in floating point.
std::int64_t SeekTargetForClick(int offset, std::int64_t duration, int width);
std::int64_t SeekTargetForRelease(int offset, std::int64_t duration);

// The full-screen position bar: an 11 x 19 thumb centred on the bar.
inline constexpr int kFullScreenThumbWidth = 11;
inline constexpr int kFullScreenThumbHeight = 19;
int FullScreenThumbTop(const Rect& bar);
Rect FullScreenThumbRect(const Rect& bar, int offset);
// The strip the thumb can cover: the bar widened by a thumb to the right, the thumb's height.
Rect FullScreenThumbStrip(const Rect& bar);
int FullScreenOffsetForClick(int x, const Rect& bar);
int FullScreenOffsetForDrag(int x, const Rect& bar);

}  // namespace display
