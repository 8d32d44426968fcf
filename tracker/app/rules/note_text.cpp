#include "tracker/app/rules/note_text.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <optional>
#include <vector>

#include "common/text_encoding.h"

namespace tracker {

namespace {

constexpr const char* kCp949 = "CP949";
constexpr const char* kGbk = "GBK";
constexpr const char* kBig5 = "CP950";
constexpr const char* kShiftJis = "CP932";
constexpr const char* kCp1251 = "CP1251";
constexpr const char* kCp1252 = "CP1252";

// After the shown language's own, in this order: Korean is the camera's home market; a text
// of double-byte characters is tried before it is taken for single-byte letters.
constexpr std::array<const char*, 6> kTryOrder = {kCp949, kShiftJis, kGbk, kBig5, kCp1251, kCp1252};

// `bytes` turned strictly from encoding `from` into `to`; nothing when a byte sequence or a
// character has no place in them.
std::optional<std::string> Decode(std::string_view bytes, const char* to, const char* from) {
  iconv_t converter = iconv_open(to, from);
  // iconv_open's failure value is the integer -1 as a handle.
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;  // NOLINT(performance-no-int-to-ptr)
  std::string out(bytes.size() * 4 + 4, '\0');
  std::vector<char> in(bytes.begin(), bytes.end());
  char* in_at = in.data();
  std::size_t in_left = in.size();
  char* out_at = out.data();
  std::size_t out_left = out.size();
  const std::size_t result = iconv(converter, &in_at, &in_left, &out_at, &out_left);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
}

bool IsHangul(char16_t c) { return (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x3131 && c <= 0x318E); }
bool IsHan(char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; }
bool IsKana(char16_t c) { return c >= 0x3041 && c <= 0x30FF; }
bool IsCyrillic(char16_t c) { return c >= 0x0410 && c <= 0x044F; }
bool IsLatinLetter(char16_t c) { return c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7; }
bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsUpper(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE) || (c >= 0x0410 && c <= 0x042F);
}
bool IsLower(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= 0xDF && c <= 0xFF) || (c >= 0x0430 && c <= 0x044F);
}
// Punctuation and symbols any of the code pages may carry; they say nothing about the script.
bool IsNeutral(char16_t c) {
  return c < 0x80 || (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F) ||
         (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFEF) || c == 0x20AC;
}

// Whether a reading looks like text of the code page's language rather than another
// language's bytes read in the wrong table: every character that carries a script is of the
// page's script; Korean stays within the common syllables (both bytes from 0xA1, as the
// Korean standard set has them); Cyrillic words hold no Latin letters; single-byte Latin
// letters stand alone in Latin words; and no word switches from lower to upper case.
bool Plausible(std::string_view bytes, std::u16string_view text, const char* code_page) {
  if (code_page == kCp949) {
    for (const char byte : bytes) {
      const auto b = static_cast<unsigned char>(byte);
      if (b >= 0x80 && b < 0xA1) return false;
    }
  }
  char16_t previous = 0;
  for (const char16_t c : text) {
    const bool neutral = IsNeutral(c);
    if (!neutral) {
      if (code_page == kCp949 && !IsHangul(c)) return false;
      if ((code_page == kGbk || code_page == kBig5) && !IsHan(c)) return false;
      if (code_page == kShiftJis && !IsKana(c) && !IsHan(c)) return false;
      if (code_page == kCp1251 && !IsCyrillic(c)) return false;
      if (code_page == kCp1252) {
        if (!IsLatinLetter(c) && !(c >= 0x152 && c <= 0x17E) && c != 0x178 && c != 0x192) return false;
        if (previous >= 0x80 && !IsNeutral(previous)) return false;  // two in a row
      }
    }
    if ((code_page == kCp1251 || code_page == kCp1252) && IsUpper(c) && IsLower(previous)) return false;
    if (code_page == kCp1251 &&
        ((IsCyrillic(c) && IsAsciiLetter(previous)) || (IsAsciiLetter(c) && IsCyrillic(previous)))) {
      return false;
    }
    previous = c;
  }
  return true;
}

}  // namespace

const char* CodePageOf(int language_index) {
  switch (language_index) {
    case 1: return kCp949;
    case 2: return kGbk;
    case 3: return kShiftJis;
    case 4: return kCp1251;
    case 11: return kBig5;
    default: return kCp1252;
  }
}

bool IsUtf8(std::string_view text) { return common::Utf16ToUtf8(common::Utf8ToUtf16(text)) == text; }

NoteReading ReadNote(std::string_view stored, int language_index) {
  if (IsUtf8(stored)) return {std::string(stored), nullptr};
  std::vector<const char*> order{CodePageOf(language_index)};
  for (const char* page : kTryOrder) {
    if (page != order.front()) order.push_back(page);
  }
  std::optional<NoteReading> first_reading;
  for (const char* page : order) {
    std::optional<std::string> reading = Decode(stored, "UTF-8", page);
    if (!reading) continue;
    if (Plausible(stored, common::Utf8ToUtf16(*reading), page)) return {std::move(*reading), page};
    if (!first_reading) first_reading = NoteReading{std::move(*reading), page};
  }
  if (first_reading) return *first_reading;
  return {common::Utf16ToUtf8(common::Utf8ToUtf16(stored)), nullptr};
}

std::string NoteText(std::string_view stored, int language_index) { return ReadNote(stored, language_index).text; }

std::string StoredNote(std::string_view utf8, const char* code_page) {
  if (code_page == nullptr) return std::string(utf8);
  std::optional<std::string> bytes = Decode(utf8, code_page, "UTF-8");
  return bytes ? std::move(*bytes) : std::string(utf8);
}

}  // namespace tracker
