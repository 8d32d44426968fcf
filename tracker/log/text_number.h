#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tracker/log/field_text.h"

namespace tracker {

// Text-to-number conversions with the C library's atof/atoi meaning (leading blanks, a sign,
// as many digits as there are, 0 when there are none), but bounded by the view instead of
// a terminator. Stored texts are converted wherever a number is needed, so these are hot.
double TextToDouble(std::string_view text);
std::int32_t TextToInt(std::string_view text);

// TextToDouble(FieldText(field)) without looking for the end first: the fields of a point are
// converted several times per fix in a scan.
template <std::size_t N>
double FieldToDouble(const char (&field)[N]);

// The value of the decimal number "0.<digits>", as the text would convert.
double FractionValue(std::string_view digits);

namespace text_number_detail {
// Values of "[-]digits[.digits]" texts with 15 digits or fewer, exact: the digits as a whole
// number divided by a power of ten that a double holds exactly.
inline constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
}  // namespace text_number_detail

template <std::size_t N>
double FieldToDouble(const char (&field)[N]) {
  std::uint64_t digits = 0;
  std::size_t count = 0;
  std::size_t point = N;  // digits before the point; N: no point yet
  const bool negative = field[0] == '-';
  std::size_t i = negative ? 1 : 0;
  for (; i < N && field[i] != '\0'; ++i) {
    const unsigned digit = static_cast<unsigned char>(field[i]) - unsigned{'0'};
    if (digit < 10) {
      digits = digits * 10 + digit;
      ++count;
    } else if (field[i] == '.' && point == N) {
      point = count;
    } else {
      count = 16;  // anything else: the general conversion
      break;
    }
  }
  if (count == 0 || count > 15) return TextToDouble(FieldText(field));
  const double magnitude =
      static_cast<double>(digits) / text_number_detail::kPowersOfTen[point == N ? 0 : count - point];
  return negative ? -magnitude : magnitude;
}

}  // namespace tracker
