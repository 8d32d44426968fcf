#include "tracker/app/rules/progress_bars.h"

#include <algorithm>

namespace tracker {

ProgressBars ProgressBarRects(int width, int height) {
  const Rect upper = FromEdges(20, 20, width - 20, std::max(20, height - 60));
  return {upper, {upper.x, upper.bottom() + 20, upper.width, upper.height}};
}

int ProgressFill(const Rect& bar, int percent) { return std::clamp(percent, 0, 100) * bar.width / 100; }

}  // namespace tracker
