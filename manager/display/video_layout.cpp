#include "manager/display/video_layout.h"

#include "manager/display/button_table.h"

namespace display {

using namespace commands;

std::array<int, 2> CentredOrigin(int desktopWidth, int desktopHeight) {
  return {(desktopWidth - kNormalWidth) / 2, (desktopHeight - kNormalHeight) / 2};
}

Rect FullScreenVideoArea(int screenWidth, int screenHeight) {
  return Rect::FromSize(9, 47, screenWidth - 18, screenHeight - 131);
}

Rect FullScreenPositionBar(int screenWidth, int screenHeight) {
  return {139, screenHeight - 80, screenWidth - 9, screenHeight - 69};
}

Rect FullScreenTimeTextRect(const Rect& bar) { return {9, bar.top - 2, 139, bar.bottom + 6}; }

Rect FitVideo(const Rect& area, std::optional<PictureSize> picture) {
  const bool wide = picture && picture->height == 720;
  const int stepWidth = wide ? 16 : 4;
  const int stepHeight = wide ? 9 : 3;
  const int areaWidth = area.Width();
  const int areaHeight = area.Height();
  int w = stepWidth;
  int h = stepHeight;
  if (2 * stepWidth <= areaWidth) {
    do {
      if (h + stepHeight > areaHeight) break;
      w += stepWidth;
      h += stepHeight;
    } while (w + stepWidth <= areaWidth);
  }
  return Rect::FromSize(area.left + ((areaWidth - w) >> 1), area.top + ((areaHeight - h) >> 1), w, h);
}

std::array<ButtonPlace, kMovingButtonCount> NormalButtonPlaces() {
  return {{
      {kMinimize, Rect::FromSize(894, 5, 37, 45)},
      {kFullScreen, Rect::FromSize(934, 5, 37, 45)},
      {kClose, Rect::FromSize(974, 5, 37, 45)},
      {kPrevious, Rect::FromSize(183, 718, 34, 32)},
      {kStepBack, Rect::FromSize(222, 718, 34, 32)},
      {kPause, Rect::FromSize(261, 718, 34, 32)},
      {kPlay, Rect::FromSize(300, 712, 51, 45)},
      {kStepForward, Rect::FromSize(356, 718, 34, 32)},
      {kNext, Rect::FromSize(395, 718, 34, 32)},
      {kStop, Rect::FromSize(434, 718, 34, 32)},
  }};
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

int FullScreenChannel(bool swapped, bool hasRearFile) { return swapped && hasRearFile ? 1 : 0; }

}  // namespace display
