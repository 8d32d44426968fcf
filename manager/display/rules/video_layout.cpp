#include "manager/display/rules/video_layout.h"

namespace display {

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

int FullScreenChannel(bool swapped, bool hasRearFile) { return swapped && hasRearFile ? 1 : 0; }

}  // namespace display
