#include "manager/display/rules/button_table.h"

namespace display {

const ImageButtonSpec* FindImageButton(int id) {
  for (const ImageButtonSpec& spec : kImageButtons) {
    if (spec.id == id) return &spec;
  }
  return nullptr;
}

int StripImageCount(ButtonKind kind) {
  return kind == ButtonKind::ProgramSet || kind == ButtonKind::ToggleWithText ? 8 : 4;
}

int ButtonImageIndex(ButtonKind kind, const ButtonDrawState& state) {
  const int set = StripImageCount(kind) == 8 && state.toggled ? 4 : 0;
  const bool pressed = kind == ButtonKind::Toggle ? state.toggled : state.selected;
  const bool focused = kind == ButtonKind::Toggle ? false : state.focused;
  if (pressed) return set + 1;
  if (state.hover) return set + 2;
  if (state.disabled && !focused) return set + 3;
  return set;
}

}  // namespace display
