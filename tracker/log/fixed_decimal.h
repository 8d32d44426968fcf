#pragma once

#include <cstddef>

namespace tracker {

// Writes `value` as printf's "%.6f" does (the exactly rounded decimal, ties to even) into
// `out`, which must hold 64 characters; returns the length. Fast for coordinates, which the
// reader formats twice per fix.
std::size_t FormatFixed6(double value, char* out);

}  // namespace tracker
