#include "tracker/log/degrees_text.h"

#include <cstring>

#include "tracker/log/fixed_decimal.h"

namespace tracker {

namespace {

constexpr std::size_t kKeptDecimals = 5;

}  // namespace

std::size_t DegreesText(double degrees, std::size_t field_width, char* out) {
  const std::size_t cut = field_width - 2;
  const std::size_t length = FormatFixed6(degrees, out);
  if (length <= cut) return length;
  // Six decimals after the point: what the cut leaves of them is known without looking.
  const std::size_t point = length - 7;
  if (cut > point + kKeptDecimals) return cut;
  // Rounded, not cut: the spare character is only spent where a decimal would be lost.
  char rounded[64];
  const std::size_t rounded_length = FormatFixed(degrees, kKeptDecimals, rounded);
  if (rounded_length > cut + 1) return cut;  // no coordinate: too large either way
  std::memcpy(out, rounded, rounded_length);
  return rounded_length;
}

}  // namespace tracker
