#pragma once

#include <string>
#include <string_view>

namespace tracker {

// The Windows code page in which notes were written under language `language_index` (as the
// language box numbers them): CP949 Korean, GBK Simplified Chinese, CP950 (Big5) Taiwan,
// CP932 (Shift-JIS) Japanese, CP1251 Russian, CP1252 for the rest.
const char* CodePageOf(int language_index);

// The text of a stored note as UTF-8, for the boxes and the map. A note that is UTF-8 is
// returned as it is. Any other note was written by an older program in a Windows code page:
// it is read in the code page whose script its characters fit, trying the shown language's
// code page first and then Korean, Japanese, Simplified and Traditional Chinese, Russian and
// Western European; a note no code page reads is shown with U+FFFD for the bytes that fail.
std::string NoteText(std::string_view stored, int language_index);

// The same, with the code page the note was read in (none for UTF-8).
struct NoteReading {
  std::string text;
  const char* code_page = nullptr;
};
NoteReading ReadNote(std::string_view stored, int language_index);

// How an edited note is stored: in the code page it was read in when every character has a
// place there (so a note keeps the room it had), otherwise as UTF-8.
std::string StoredNote(std::string_view utf8, const char* code_page);

// Whether `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

}  // namespace tracker
