#pragma once

#include <cstddef>

namespace tracker {

// Writes `value` as printf's "%.*f" does with 0 to 6 `decimals` (the exactly rounded decimal,
// ties to even) into `out`, which must hold 64 characters; returns the length. Fast for
// coordinates, which the reader formats twice per fix.
std::size_t FormatFixed(double value, int decimals, char* out);

inline std::size_t FormatFixed6(double value, char* out) { return FormatFixed(value, 6, out); }

}  // namespace tracker
