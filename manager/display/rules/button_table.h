#pragma once

#include <array>

#include "manager/display/rules/window_layout.h"

namespace display {

enum class ButtonKind {
  Push = 0,            // a plain push button
  Toggle = 1,          // flips on every click
  ProgramSet = 2,      // two image sets; the program sets which one shows
  ToggleWithText = 3,  // flips on every click and draws its text beside the image
};

// One image button: its command, the strip it draws from, its normal place (from the layout
// table) and kind.
struct ImageButtonSpec {
  int id = 0;
  int bitmap = 0;
  Rect place;
  ButtonKind kind = ButtonKind::Push;
};

// In creation order, which is also the tab order.
inline constexpr std::array<ImageButtonSpec, 15> kImageButtons = {{
    {commands::kFullScreen, 186, NormalButtonRect(commands::kFullScreen), ButtonKind::ProgramSet},
    {commands::kMinimize, 188, NormalButtonRect(commands::kMinimize), ButtonKind::Push},
    {commands::kClose, 189, NormalButtonRect(commands::kClose), ButtonKind::Push},
    {commands::kStepBack, 194, NormalButtonRect(commands::kStepBack), ButtonKind::Push},
    {commands::kStepForward, 190, NormalButtonRect(commands::kStepForward), ButtonKind::Push},
    {commands::kPrevious, 195, NormalButtonRect(commands::kPrevious), ButtonKind::Push},
    {commands::kPause, 192, NormalButtonRect(commands::kPause), ButtonKind::Push},
    {commands::kStop, 196, NormalButtonRect(commands::kStop), ButtonKind::Push},
    {commands::kPlay, 193, NormalButtonRect(commands::kPlay), ButtonKind::Push},
    {commands::kNext, 191, NormalButtonRect(commands::kNext), ButtonKind::Push},
    {commands::kPrint, 200, NormalButtonRect(commands::kPrint), ButtonKind::Push},
    {commands::kSnapshot, 199, NormalButtonRect(commands::kSnapshot), ButtonKind::Push},
    {commands::kSetup, 201, NormalButtonRect(commands::kSetup), ButtonKind::Push},
    {commands::kFolder, 198, NormalButtonRect(commands::kFolder), ButtonKind::Push},
    {commands::kSwap, 203, NormalButtonRect(commands::kSwap), ButtonKind::Push},
}};

// The button of a command id; null for an id without one.
const ImageButtonSpec* FindImageButton(int id);

// Images in a button's strip: normal, pressed, hover, disabled, and for kinds 2 and 3 the same
// four again for the toggled state.
int StripImageCount(ButtonKind kind);

struct ButtonDrawState {
  bool selected = false;  // held down
  bool disabled = false;
  bool focused = false;
  bool hover = false;
  bool toggled = false;
};

// Which image of the strip to draw (0..7). A toggle button shows "pressed" while toggled and
// never shows focus; a focused disabled button shows the normal image.
int ButtonImageIndex(ButtonKind kind, const ButtonDrawState& state);

}  // namespace display
