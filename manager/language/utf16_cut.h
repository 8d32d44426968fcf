#pragma once

#include <cstddef>
#include <string_view>

namespace language {

// The first `count` UTF-16 code units of `text`. A surrogate pair that the cut would split is
// left out whole, so that the result converts to UTF-8 without a replacement character.
inline std::u16string_view FirstUtf16Units(std::u16string_view text, std::size_t count) {
  if (text.size() <= count) return text;
  std::size_t end = count;
  if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  return text.substr(0, end);
}

}  // namespace language
