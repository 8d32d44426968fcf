#pragma once

#include <string>
#include <string_view>

namespace common {

// UTF-8 <-> UTF-16 for the few stored files that hold UTF-16 code units.
// Malformed UTF-8 bytes and unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-16LE bytes (no byte-order mark, no terminator) and back. An odd trailing byte is dropped.
std::string Utf16ToLittleEndianBytes(std::u16string_view text);
std::u16string LittleEndianBytesToUtf16(std::string_view bytes);

// Number of UTF-16 code units the UTF-8 text takes: the "characters" of the camera's
// Windows-era rules are UTF-16 code units.
std::size_t Utf16Length(std::string_view utf8);

// The last `count` UTF-16 code units of a UTF-8 text (the whole text when it is shorter),
// never cutting a character in two.
std::string_view LastUtf16Units(std::string_view utf8, std::size_t count);

}  // namespace common
