#include "manager/setup/dialog/dialog_units.h"

#include <cstdint>

namespace setup {
namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

DialogBaseUnits BaseUnitsFromFont(int alphabet_width, int line_height) {
  return {(alphabet_width / 26 + 1) / 2, line_height};
}

int HorizontalPixels(int dialog_units, DialogBaseUnits base) { return MulDiv(dialog_units, base.x, 4); }
int VerticalPixels(int dialog_units, DialogBaseUnits base) { return MulDiv(dialog_units, base.y, 8); }

PixelRect ToPixels(const DialogRect& rect, DialogBaseUnits base) {
  // Right and bottom edges are converted on their own, so neighbouring controls stay flush.
  const int left = HorizontalPixels(rect.x, base);
  const int top = VerticalPixels(rect.y, base);
  return {left, top, HorizontalPixels(rect.x + rect.width, base) - left,
          VerticalPixels(rect.y + rect.height, base) - top};
}

}  // namespace setup
