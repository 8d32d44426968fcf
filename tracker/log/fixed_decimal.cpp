#include "tracker/log/fixed_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tracker {

namespace {

// GCC's and clang's 128-bit integer; __extension__ tells -Wpedantic it is meant.
__extension__ using Uint128 = unsigned __int128;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// "[-]w.dddddd" of a number of millionths below 10^10: coordinates, twice per fix in a scan.
// The three pairs of decimals are worked out side by side rather than one after the other.
std::size_t WriteSixDecimals(std::uint64_t millionths, bool negative, char* out) {
  const auto whole = static_cast<std::uint32_t>(millionths / 1000000);
  const auto fraction = static_cast<std::uint32_t>(millionths % 1000000);
  char* p = out;
  if (negative) *p++ = '-';
  if (whole >= 1000) {
    std::memcpy(p, kDigitPairs + 2 * (whole / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (whole % 100), 2);
    p += 4;
  } else if (whole >= 100) {
    *p++ = static_cast<char>('0' + whole / 100);
    std::memcpy(p, kDigitPairs + 2 * (whole % 100), 2);
    p += 2;
  } else if (whole >= 10) {
    std::memcpy(p, kDigitPairs + 2 * whole, 2);
    p += 2;
  } else {
    *p++ = static_cast<char>('0' + whole);
  }
  *p++ = '.';
  std::memcpy(p, kDigitPairs + 2 * (fraction / 10000), 2);
  std::memcpy(p + 2, kDigitPairs + 2 * (fraction / 100 % 100), 2);
  std::memcpy(p + 4, kDigitPairs + 2 * (fraction % 100), 2);
  return static_cast<std::size_t>(p + 6 - out);
}

}  // namespace

std::size_t FormatFixed(double value, int decimals, char* out) {
  // Beyond this size (or for inf and NaN) the general routine is fast enough and exact.
  if (!std::isfinite(value) || std::fabs(value) >= 1099511627776.0) {
    return static_cast<std::size_t>(std::to_chars(out, out + 64, value, std::chars_format::fixed, decimals).ptr - out);
  }
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  // |value| = mantissa · 2^exponent exactly; scale by 10^decimals in 128-bit integers and round the
  // binary fraction away, half to even, as the C library does.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  // |value| = mantissa · 2^-shift; shift > 0 because |value| < 2^40.
  const int shift = 1075 - (biased != 0 ? biased : 1);
  const Uint128 scaled = static_cast<Uint128>(mantissa) * scale;
  std::uint64_t units = 0;  // of the last decimal
  if (shift < 127) {
    const Uint128 one = 1;
    const Uint128 rest = scaled & ((one << shift) - 1);
    const Uint128 half = one << (shift - 1);
    units = static_cast<std::uint64_t>(scaled >> shift);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  }

  if (decimals == 6 && units < 10000000000ULL) return WriteSixDecimals(units, std::signbit(value), out);

  // Digits from the right, two at a time, then the point put in front of the decimals.
  char digits[32];
  char* const end = digits + sizeof digits;
  char* first = end;
  std::uint64_t rest = units;
  const int least = decimals + 1;  // "0.000000" has a digit before the point
  while (rest >= 100 || end - first < least - 1) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * (rest % 100), 2);
    rest /= 100;
  }
  if (rest >= 10) {
    first -= 2;
    std::memcpy(first, kDigitPairs + 2 * rest, 2);
  } else if (rest > 0 || end - first < least) {
    *--first = static_cast<char>('0' + rest);
  }

  char* p = out;
  if (std::signbit(value)) *p++ = '-';
  const std::size_t whole = static_cast<std::size_t>(end - first) - static_cast<std::size_t>(decimals);
  std::memcpy(p, first, whole);
  p += whole;
  if (decimals > 0) {
    *p++ = '.';
    std::memcpy(p, first + whole, static_cast<std::size_t>(decimals));
    p += decimals;
  }
  return static_cast<std::size_t>(p - out);
}

}  // namespace tracker
