#pragma once

#include "manager/setup/profile.h"

namespace setup {

// A rectangle in dialog units: a quarter of the dialog font's average character width across,
// an eighth of its height down.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The dialog font's average character width and height in pixels.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
};

// The base units as dialog templates compute them: the width of the 52 letters "A".."Z",
// "a".."z" divided by 52 and rounded, and the font's line height.
DialogBaseUnits BaseUnitsFromFont(int alphabet_width, int line_height);

int HorizontalPixels(int dialog_units, DialogBaseUnits base);
int VerticalPixels(int dialog_units, DialogBaseUnits base);
PixelRect ToPixels(const DialogRect& rect, DialogBaseUnits base);

}  // namespace setup
