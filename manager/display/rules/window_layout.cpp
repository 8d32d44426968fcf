#include "manager/display/rules/window_layout.h"

#include <algorithm>

namespace display {

using namespace commands;

std::array<int, 2> CentredOrigin(int desktopWidth, int desktopHeight) {
  return {(desktopWidth - kNormalWidth) / 2, (desktopHeight - kNormalHeight) / 2};
}

Rect FullScreenVideoArea(int screenWidth, int screenHeight) {
  return Rect::FromSize(kFullScreenEdgeWidth, kFullScreenTitleBandHeight, screenWidth - 2 * kFullScreenEdgeWidth,
                        screenHeight - kFullScreenTitleBandHeight - kFullScreenBottomBandHeight);
}

Rect FullScreenPositionBar(int screenWidth, int screenHeight) {
  return {139, screenHeight - 80, screenWidth - kFullScreenEdgeWidth, screenHeight - 69};
}

Rect FullScreenTimeTextRect(const Rect& bar) { return {kFullScreenEdgeWidth, bar.top - 2, bar.left, bar.bottom + 6}; }

std::array<ButtonPlace, kMovingButtonCount> NormalButtonPlaces() {
  std::array<ButtonPlace, kMovingButtonCount> places;
  std::copy_n(kNormalButtonPlaces.begin(), kMovingButtonCount, places.begin());
  return places;
}

std::array<ButtonPlace, kMovingButtonCount> FullScreenButtonPlaces(int w, int h) {
  const int half = w >> 1;
  return {{
      {kMinimize, Rect::FromSize(w - 130, 0, 37, 45)},
      {kFullScreen, Rect::FromSize(w - 90, 0, 37, 45)},
      {kClose, Rect::FromSize(w - 50, 0, 37, 45)},
      {kPlay, Rect::FromSize(half - 25, h - 53, 51, 45)},
      {kPause, Rect::FromSize(half - 64, h - 47, 34, 32)},
      {kStepBack, Rect::FromSize(half - 103, h - 47, 34, 32)},
      {kPrevious, Rect::FromSize(half - 142, h - 47, 34, 32)},
      {kStepForward, Rect::FromSize(half + 30, h - 47, 34, 32)},
      {kNext, Rect::FromSize(half + 69, h - 47, 34, 32)},
      {kStop, Rect::FromSize(half + 108, h - 47, 34, 32)},
  }};
}

}  // namespace display
