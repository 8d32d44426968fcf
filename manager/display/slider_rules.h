#pragma once

#include <cstdint>

#include "manager/display/display_rect.h"

namespace display {

// The three drawn sliders of the main window: position (normal and full-screen layout), rate
// and volume. Offsets are thumb offsets in pixels from the bar's left end.

inline constexpr int kPositionBarLeft = 70;
inline constexpr int kPositionBarWidth = 600;  // offset 600 is the end of the recording
inline constexpr int kSliderLeft = 488;        // rate and volume bars
inline constexpr int kThumbWidth = 5;

inline constexpr Rect kPositionBar{70, 684, 670, 695};
inline constexpr Rect kRateBar{488, 636, 637, 644};
inline constexpr Rect kVolumeBar{488, 657, 637, 665};

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
