#include "manager/language/ini_file.h"

#include <algorithm>
#include <optional>

#include "common/file_reader.h"
#include "common/text_encoding.h"
#include "common/trim.h"
#include "manager/language/utf16_cut.h"

namespace language {
namespace {

// Windows also takes Ctrl-Z, the old end-of-file mark, for a blank.
bool IsBlank(char16_t c) { return common::IsAsciiBlank(c) || c == 0x1A; }

std::u16string_view Trim(std::u16string_view s) { return common::Trim(s, IsBlank); }

// Section and key names are ASCII identifiers; folding ASCII letters is all they need.
char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::ranges::equal(a, b, {}, FoldAscii, FoldAscii);
}

// A UTF-16LE byte-order mark selects UTF-16; anything else is taken for UTF-8.
std::u16string DecodeText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return common::LittleEndianBytesToUtf16(bytes.substr(2));
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return common::Utf8ToUtf16(bytes);
}

// The value of `key` in the first section named `section`, blanks trimmed, quotes still on.
// A later section of the same name is not searched, as on Windows.
std::optional<std::u16string_view> FindValue(std::u16string_view text, std::u16string_view section,
                                             std::u16string_view key) {
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of(u"\r\n");
    const std::u16string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::u16string_view::npos ? text.size() : end + 1);

    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[') {
      // A '[' line without ']' is no section header; Windows reads it as an ordinary line.
      if (const std::size_t close = line.rfind(u']'); close != std::u16string_view::npos) {
        if (inSection) return std::nullopt;
        inSection = EqualIgnoringCase(Trim(line.substr(1, close - 1)), section);
        continue;
      }
    }
    if (!inSection) continue;
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) continue;
    if (EqualIgnoringCase(Trim(line.substr(0, equals)), key)) return Trim(line.substr(equals + 1));
  }
  return std::nullopt;
}

std::u16string_view Unquote(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::string ReadIniString(std::string_view fileBytes, std::string_view section, std::string_view key,
                          std::string_view fallback) {
  const std::u16string wantedKey = common::Utf8ToUtf16(key);
  if (!Trim(wantedKey).empty()) {
    const std::u16string text = DecodeText(fileBytes);
    const std::u16string wantedSection = common::Utf8ToUtf16(section);
    if (const auto value = FindValue(text, Trim(wantedSection), Trim(wantedKey))) {
      return common::Utf16ToUtf8(FirstUtf16Units(Unquote(*value), IniFile::kMaxValueLength));
    }
  }
  const std::u16string defaultText = common::Utf8ToUtf16(fallback);
  const std::u16string_view trimmed =
      common::TrimEnd(std::u16string_view(defaultText), [](char16_t c) { return c == u' '; });
  return common::Utf16ToUtf8(FirstUtf16Units(trimmed, IniFile::kMaxValueLength));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  // A missing or unreadable file (a folder, a FIFO, a pulled card) reads like an empty one:
  // every key falls back.
  const std::optional<std::string> bytes = common::ReadWholeFile(path_);
  return ReadIniString(bytes ? std::string_view(*bytes) : std::string_view(), section, key, fallback);
}

}  // namespace language
