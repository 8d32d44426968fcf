#pragma once

#include <cstdint>
#include <string_view>

namespace tracker {

// Text-to-number conversions with the C library's atof/atoi meaning (leading blanks, a sign,
// as many digits as there are, 0 when there are none), but bounded by the view instead of
// a terminator. Stored texts are converted wherever a number is needed, so these are hot.
double TextToDouble(std::string_view text);
std::int32_t TextToInt(std::string_view text);

// The value of the decimal number "0.<digits>", as the text would convert.
double FractionValue(std::string_view digits);

}  // namespace tracker
