#pragma once

#include <cstddef>
#include <string_view>

#include "tracker/log/field_text.h"

namespace tracker {

// A coordinate as a stored point keeps it, for a field of `field_width` bytes: "%.6f" cut to
// two characters less than the field (8 for a latitude, 9 for a longitude), as logs have always
// been stored. Where that cut leaves fewer than five decimals (a minus sign takes the room in the
// south and west), the value is rounded to five decimals into the field's spare character
// instead, so every quadrant keeps about a metre. `out` holds 64 characters; returns the length.
std::size_t DegreesText(double degrees, std::size_t field_width, char* out);

template <std::size_t N>
void SetDegreesText(char (&field)[N], double degrees) {
  char text[64];
  SetFieldText(field, std::string_view(text, DegreesText(degrees, N, text)));
}

}  // namespace tracker
