#pragma once

#include "tracker/app/rules/window_layout.h"
#include "tracker/log/scan_host.h"

namespace tracker {

// The progress window: 240 x 63 dialog units, in pixels of the usual dialog font.
inline constexpr int kProgressWidth = 360;
inline constexpr int kProgressHeight = 102;

// The upper bar shows the running pass's percentage, the lower one the phase (15 reading,
// 30 removing duplicates, 45 filtering, 60 cutting rows, 100 done) as a percentage. Both sit
// 20 pixels in from the sides; the upper one from y 20 to the height less 60, the lower one
// as tall, 20 pixels below it.
struct ProgressBars {
  Rect upper;
  Rect lower;
};

ProgressBars ProgressBarRects(int width, int height);

// Width of the filled part of a bar for a percentage (clamped to 0-100).
int ProgressFill(const Rect& bar, int percent);

// Window colours (0x00BBGGRR): background and the two bars' fills.
inline constexpr unsigned kProgressBackgroundColorRef = 0xBDFFFF;
inline constexpr unsigned kUpperBarColorRef = 0x05C7D7;
inline constexpr unsigned kLowerBarColorRef = 0x037078;

}  // namespace tracker
