#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tracker {

// The text of a fixed-width NUL-terminated field. A field that fills its whole width without a
// terminator (a damaged record) ends at its width rather than running into the next field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  const void* nul = std::memchr(field, '\0', N);
  return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : N};
}

// Copies `text` into a fixed-width field, cut to fit, and fills the rest with NULs.
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text) {
  const std::size_t n = text.size() < N ? text.size() : N - 1;
  if constexpr (N <= 16) {
    // The fields of a point, twice per fix in a scan: an unrolled copy beats a string move.
    for (std::size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : '\0';
  } else {
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
  }
}

}  // namespace tracker
