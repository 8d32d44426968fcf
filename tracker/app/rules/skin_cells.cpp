#include "tracker/app/rules/skin_cells.h"

#include <algorithm>

namespace tracker {

int ButtonCell(ButtonKind kind, ButtonLook look) {
  const bool second_set = (kind == ButtonKind::kPlay || kind == ButtonKind::kCheck) && look.on;
  int cell = 0;
  if (look.disabled) {
    cell = 3;
  } else if (look.pressed || (kind == ButtonKind::kToggle && look.on)) {
    cell = 1;
  } else if (look.hover) {
    cell = 2;
  }
  return second_set ? cell + 4 : cell;
}

int ButtonCellCount(ButtonKind kind) { return kind == ButtonKind::kPlay || kind == ButtonKind::kCheck ? 8 : 4; }

int ThumbCellX(bool pressed, bool hover, bool disabled) {
  if (disabled) return 48;
  if (pressed) return 16;
  if (hover) return 32;
  return 0;
}

int SliderFilledWidth(int position, int channel_width) { return std::clamp(position, 0, 100) * channel_width / 100; }

}  // namespace tracker
