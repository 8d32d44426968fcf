#pragma once

#include <array>

namespace display {

// The main window's command ids; each is also the id of the button that sends it.
namespace commands {
inline constexpr int kFullScreen = 1112;
inline constexpr int kMinimize = 1113;
inline constexpr int kClose = 1114;
inline constexpr int kStepForward = 1115;
inline constexpr int kNext = 1116;
inline constexpr int kPause = 1117;
inline constexpr int kPlay = 1118;
inline constexpr int kStepBack = 1119;
inline constexpr int kPrevious = 1120;
inline constexpr int kStop = 1121;
inline constexpr int kFolder = 1122;
inline constexpr int kSnapshot = 1123;
inline constexpr int kPrint = 1124;
inline constexpr int kSetup = 1125;
inline constexpr int kSwap = 1128;
}  // namespace commands

enum class ButtonKind {
  Push = 0,            // a plain push button
  Toggle = 1,          // flips on every click
  ProgramSet = 2,      // two image sets; the program sets which one shows
  ToggleWithText = 3,  // flips on every click and draws its text beside the image
};

// One image button: its command, the strip it draws from, its normal place and size.
struct ImageButtonSpec {
  int id = 0;
  int bitmap = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  ButtonKind kind = ButtonKind::Push;
};

// In creation order, which is also the tab order.
inline constexpr std::array<ImageButtonSpec, 15> kImageButtons = {{
    {commands::kFullScreen, 186, 934, 5, 37, 45, ButtonKind::ProgramSet},
    {commands::kMinimize, 188, 894, 5, 37, 45, ButtonKind::Push},
    {commands::kClose, 189, 974, 5, 37, 45, ButtonKind::Push},
    {commands::kStepBack, 194, 222, 718, 34, 32, ButtonKind::Push},
    {commands::kStepForward, 190, 356, 718, 34, 32, ButtonKind::Push},
    {commands::kPrevious, 195, 183, 718, 34, 32, ButtonKind::Push},
    {commands::kPause, 192, 261, 718, 34, 32, ButtonKind::Push},
    {commands::kStop, 196, 434, 718, 34, 32, ButtonKind::Push},
    {commands::kPlay, 193, 300, 712, 51, 45, ButtonKind::Push},
    {commands::kNext, 191, 395, 718, 34, 32, ButtonKind::Push},
    {commands::kPrint, 200, 567, 717, 36, 33, ButtonKind::Push},
    {commands::kSnapshot, 199, 520, 717, 36, 33, ButtonKind::Push},
    {commands::kSetup, 201, 615, 713, 54, 41, ButtonKind::Push},
    {commands::kFolder, 198, 795, 60, 19, 13, ButtonKind::Push},
    {commands::kSwap, 203, 475, 716, 36, 33, ButtonKind::Push},
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
