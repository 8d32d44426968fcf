#include "tracker/log/text_number.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace tracker {

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

double TextToDouble(std::string_view text) {
  // Fast path for the plain decimal texts the reader writes; anything unusual (blanks, '+',
  // hexadecimal, out of range) goes through strtod so the meaning stays atof's.
  double value = 0.0;
  const char* const end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  const bool hex_like = ptr < end && (*ptr == 'x' || *ptr == 'X');
  if (ec == std::errc() && !hex_like) return value;
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

std::int32_t TextToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Saturate rather than overflow; stored fields are far too short to get here.
    if (value < INT32_MAX) value = value * 10 + (text[i] - '0');
  }
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace tracker
