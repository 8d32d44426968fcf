#pragma once

namespace tracker {

// Skinned buttons draw one cell of a strip of equal cells: 0 normal, 1 pressed (or a toggle
// that is on), 2 mouse over, 3 disabled. Play buttons and the check box have a second set,
// cells 4-7, for the same looks while they are on (playing, ticked).
enum class ButtonKind { kPlain, kToggle, kPlay, kCheck };

struct ButtonLook {
  bool pressed = false;  // the mouse button is down on it
  bool hover = false;
  bool disabled = false;
  bool on = false;  // toggled, playing or ticked
};

int ButtonCell(ButtonKind kind, ButtonLook look);
int ButtonCellCount(ButtonKind kind);

// The slider's thumb is a 16 x 16 cell of its strip, at this x: 16 pressed, 32 under the
// mouse, 48 disabled, 0 otherwise.
inline constexpr int kThumbSize = 16;
int ThumbCellX(bool pressed, bool hover, bool disabled);

// Width of the slider channel's filled part for a position of 0-100.
int SliderFilledWidth(int position, int channel_width);

}  // namespace tracker
