#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "tracker/app/rules/row_list.h"

namespace tracker {

// How many bytes of UTF-8 a row's field stores (its terminator aside): 31 for the driver,
// 127 for the purpose and the comments.
std::size_t NoteBytes(RowTextField field);

// A box's text after one edit, made to fit its field.
struct FittedNote {
  std::string text;    // UTF-8 that takes at most the field's bytes
  std::size_t cursor;  // byte offset where the edit ended
  bool cut;            // part of what was typed or pasted did not fit
};

// The box held `before` and one edit made it `after`. When `after` fits in `limit` bytes it
// stays as it is; otherwise what the edit put in is cut, between two characters, to the room
// that is left, and what was there before the edit stays. (A text that was already too long,
// a note read from an older code page, is cut at its end.)
// `stored_size` says how many bytes a text takes in the field (its UTF-8 length when empty).
FittedNote FitNote(std::string_view before, std::string_view after, std::size_t limit,
                   const std::function<std::size_t(std::string_view)>& stored_size = {});

}  // namespace tracker
