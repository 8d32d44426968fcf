#include "tracker/app/rules/note_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tracker/app/rules/note_box.h"

namespace {

constexpr int kEnglish = 0, kKorean = 1, kChinese = 2, kJapanese = 3, kRussian = 4, kSpanish = 6, kTaiwan = 11;

TEST(NoteTextTest, NotesFromOlderProgramsAreReadInTheirLanguagesCodePage) {
  struct Case {
    const char* name;
    std::string stored;
    int language;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"UTF-8 stays as it is", "운전자 José", kRussian, "운전자 José"},
      {"CP949 Hangul", "\xbf\xee\xc0\xfc\xc0\xda", kKorean, "운전자"},
      {"CP949 Hangul with Latin around it, the window in English", "Kim \xbf\xee\xc0\xfc\xc0\xda 1", kEnglish,
       "Kim 운전자 1"},
      {"GBK", "\xbc\xdd\xca\xbb\xd4\xb1", kChinese, "驾驶员"},
      {"Big5", "\xbe\x72\xbe\x70\xad\xfb", kTaiwan, "駕駛員"},
      {"Shift-JIS", "\x89\x5e\x93\x5d\x8e\xe8", kJapanese, "運転手"},
      {"Shift-JIS kana, the window in Korean", "\x82\xa4\x82\xf1\x82\xc4\x82\xf1", kKorean, "うんてん"},
      {"CP1251", "\xc2\xee\xe4\xe8\xf2\xe5\xeb\xfc", kRussian, "Водитель"},
      {"CP1252", "Conductor Jos\xe9", kSpanish, "Conductor José"},
      {"CP1252 with the window in Korean",
       "Jos\xe9 Mar\xed"
       "a",
       kKorean, "José María"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(tracker::NoteText(c.stored, c.language), c.expected);
  }
}

TEST(NoteTextTest, AnyBytesAFileHoldsReadAsTextThatTakesTheSameRoomWrittenBack) {
  std::uint32_t seed = 7;
  for (int round = 0; round < 3000; ++round) {
    std::string stored;
    const int length = round % 32;
    for (int i = 0; i < length; ++i) {
      seed = seed * 1664525u + 1013904223u;
      stored += static_cast<char>(1 + (seed >> 24) % 255);  // a field's text holds no NUL
    }
    const int language = round % 12;
    const tracker::NoteReading reading = tracker::ReadNote(stored, language);
    ASSERT_TRUE(tracker::IsUtf8(reading.text));
    // Written back in the code page it was read in, a note takes the room it took (the bytes
    // may differ where a code page has two codes for one character, as CP932 has).
    if (reading.code_page != nullptr) {
      EXPECT_EQ(tracker::StoredNote(reading.text, reading.code_page).size(), stored.size()) << reading.code_page;
    }
  }
}

TEST(NoteBoxTest, AnEditIsCutToTheFieldBetweenCharacters) {
  struct Case {
    const char* name;
    std::string before, after;
    std::size_t limit;
    std::string expected;
    std::size_t cursor;
    bool cut;
    const char* code_page = nullptr;  // the note is stored in this code page
  };
  const std::string ten_hangul = "가나다라마바사아자차";  // 30 bytes
  const std::vector<Case> cases = {
      {"fits", "ab", "abc", 31, "abc", 3, false},
      {"the eleventh Hangul does not fit 31 bytes", ten_hangul, ten_hangul + "카", 31, ten_hangul, 30, true},
      {"but a Latin letter still does", ten_hangul, ten_hangul + "k", 31, ten_hangul + "k", 31, false},
      {"a paste in the middle keeps the tail and is cut between characters", "앞뒤", "앞" + ten_hangul + "뒤", 31,
       "앞가나다라마바사아뒤", 27, true},
      {"a paste over a selection", "abc", "a" + std::string(40, 'x') + "c", 31, "a" + std::string(29, 'x') + "c", 30,
       true},
      {"a too long note from a code page is cut at its end", std::string(45, 'x'), std::string(44, 'x'), 31,
       std::string(31, 'x'), 31, true},
      {"a CP949 note keeps its room: 15 Hangul in 30 bytes", ten_hangul + "카타파하", ten_hangul + "카타파하거", 31,
       ten_hangul + "카타파하거", 45, false, "CP949"},
      {"but not a sixteenth", ten_hangul + "카타파하거", ten_hangul + "카타파하거너", 31, ten_hangul + "카타파하거", 45,
       true, "CP949"},
      {"a character CP949 lacks turns the note into UTF-8, cut to fit", "가나", "가나😀", 31, "가나😀", 10, false,
       "CP949"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto stored_size = [&c](std::string_view text) { return tracker::StoredNote(text, c.code_page).size(); };
    const tracker::FittedNote fitted = tracker::FitNote(c.before, c.after, c.limit, stored_size);
    EXPECT_EQ(fitted.text, c.expected);
    EXPECT_EQ(fitted.cursor, c.cursor);
    EXPECT_EQ(fitted.cut, c.cut);
    EXPECT_LE(stored_size(fitted.text), c.limit);
    EXPECT_TRUE(tracker::IsUtf8(fitted.text));
  }
}

}  // namespace
