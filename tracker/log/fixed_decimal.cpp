#include "tracker/log/fixed_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tracker {

std::size_t FormatFixed6(double value, char* out) {
  // Beyond this size (or for inf and NaN) the general routine is fast enough and exact.
  if (!std::isfinite(value) || std::fabs(value) >= 1099511627776.0) {
    return static_cast<std::size_t>(
        std::to_chars(out, out + 64, value, std::chars_format::fixed, 6).ptr - out);
  }
  // |value| = mantissa · 2^exponent exactly; scale by 10^6 in 128-bit integers and round the
  // binary fraction away, half to even, as the C library does.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  // |value| = mantissa · 2^-shift; shift > 0 because |value| < 2^40.
  const int shift = 1075 - (biased != 0 ? biased : 1);
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * 1000000u;
  std::uint64_t millionths = 0;
  if (shift < 127) {
    const unsigned __int128 one = 1;
    const unsigned __int128 rest = scaled & ((one << shift) - 1);
    const unsigned __int128 half = one << (shift - 1);
    millionths = static_cast<std::uint64_t>(scaled >> shift);
    if (rest > half || (rest == half && (millionths & 1) != 0)) ++millionths;
  }

  char* p = out;
  if (std::signbit(value)) *p++ = '-';
  p = std::to_chars(p, out + 64, millionths / 1000000).ptr;
  *p++ = '.';
  std::uint64_t decimals = millionths % 1000000;
  for (int i = 5; i >= 0; --i) {
    p[i] = static_cast<char>('0' + decimals % 10);
    decimals /= 10;
  }
  return static_cast<std::size_t>(p + 6 - out);
}

}  // namespace tracker
