#include "tracker/log/text_number.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace tracker {

namespace {

// Powers of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kExactDigits = 15;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// "[-]digits[.digits]" with at most 15 digits in all. The digits form an exact integer and the
// power of ten is exact, so one division gives the correctly rounded value: the very double
// that strtod gives. False for anything else.
bool ParsePlainDecimal(std::string_view text, double& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool seen_point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++count > kExactDigits) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      decimals += seen_point;
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      return false;
    }
  }
  if (count == 0) return false;
  const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

double TextToDouble(std::string_view text) {
  // The texts the reader writes take the exact fast path; anything unusual (blanks, '+',
  // exponents, hexadecimal, long digit runs) goes through strtod so the meaning stays atof's.
  double value = 0.0;
  if (ParsePlainDecimal(text, value)) return value;
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

double FractionValue(std::string_view digits) {
  if (digits.size() <= kExactDigits) {
    std::uint64_t whole = 0;
    bool plain = true;
    for (const char c : digits) {
      plain = plain && c >= '0' && c <= '9';
      whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    }
    // Both exact, so the quotient is the correctly rounded 0.<digits>.
    if (plain) return static_cast<double>(whole) / kPowersOfTen[digits.size()];
  }
  return TextToDouble("0." + std::string(digits));
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
