#pragma once

#include <string_view>

namespace common {

// The blanks of C's isspace in the "C" locale: space, tab, line feed, carriage return, vertical
// tab and form feed.
template <class Char>
constexpr bool IsAsciiBlank(Char c) {
  return c == Char(' ') || c == Char('\t') || c == Char('\n') || c == Char('\r') || c == Char('\v') || c == Char('\f');
}

// `text` without the leading (TrimStart), trailing (TrimEnd) or both (Trim) characters for
// which `blank` holds; ASCII blanks unless told otherwise.
template <class Char, class IsBlank = bool (*)(Char)>
constexpr std::basic_string_view<Char> TrimStart(std::basic_string_view<Char> text,
                                                 IsBlank blank = IsAsciiBlank<Char>) {
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  return text;
}

template <class Char, class IsBlank = bool (*)(Char)>
constexpr std::basic_string_view<Char> TrimEnd(std::basic_string_view<Char> text, IsBlank blank = IsAsciiBlank<Char>) {
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

template <class Char, class IsBlank = bool (*)(Char)>
constexpr std::basic_string_view<Char> Trim(std::basic_string_view<Char> text, IsBlank blank = IsAsciiBlank<Char>) {
  return TrimEnd(TrimStart(text, blank), blank);
}

}  // namespace common
