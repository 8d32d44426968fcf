#include "manager/language/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/text_encoding.h"
#include "tests/support/temp_dir.h"

namespace {

using language::IniFile;
using testing_support::TempDir;
using testing_support::WriteFile;

constexpr std::string_view kKoreanFileList = "파일 목록";

class IniFileTest : public ::testing::Test {
 protected:
  // Writes `bytes` as the language file and reads one value from it.
  std::string Read(std::string_view bytes, std::string_view section, std::string_view key,
                   std::string_view fallback = "default") {
    WriteFile(path_, bytes);
    return IniFile(path_).ReadString(section, key, fallback);
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "lang.ini";
};

TEST_F(IniFileTest, SectionAndKeyNamesIgnoreCase) {
  const std::string_view file = "[korean]\r\nfileList=Files\r\n";
  EXPECT_EQ(Read(file, "Korean", "FILELIST"), "Files");
  EXPECT_EQ(Read(file, "KOREAN", "filelist"), "Files");
  EXPECT_EQ(Read(file, "Korean", "FILE"), "default");
}

TEST_F(IniFileTest, BlanksAroundNamesAndValuesAreDropped) {
  const std::string_view file =
      "  [ English ]  \n"
      "\t DATE \t=   Day one  \n"
      "TIME=\n"
      "SPACES =    \t\n";
  EXPECT_EQ(Read(file, "English", "DATE"), "Day one");
  EXPECT_EQ(Read(file, " English ", "  DATE "), "Day one");
  // Present but empty: the empty value, not the default (LookupText decides what to show).
  EXPECT_EQ(Read(file, "English", "TIME"), "");
  EXPECT_EQ(Read(file, "English", "SPACES"), "");
}

TEST_F(IniFileTest, MatchingQuotesAreRemovedAndKeepTheirBlanks) {
  const std::string_view file =
      "[English]\n"
      "DOUBLE = \"  padded  \"\n"
      "SINGLE='x=y'\n"
      "MIXED=\"text'\n"
      "LONE=\"\n";
  EXPECT_EQ(Read(file, "English", "DOUBLE"), "  padded  ");
  EXPECT_EQ(Read(file, "English", "SINGLE"), "x=y");
  EXPECT_EQ(Read(file, "English", "MIXED"), "\"text'");
  EXPECT_EQ(Read(file, "English", "LONE"), "\"");
}

TEST_F(IniFileTest, CommentsAndStrayLinesAreSkipped) {
  const std::string_view file =
      "; FILELIST=before any section\n"
      "FILELIST=outside\n"
      "[English]\n"
      ";FILELIST=commented out\n"
      "no equals sign here\n"
      "[broken header\n"
      "=value without a key\n"
      "FILELIST=File list\n";
  EXPECT_EQ(Read(file, "English", "FILELIST"), "File list");
  EXPECT_EQ(Read(file, "English", ";FILELIST"), "default");
  EXPECT_EQ(Read("[English]\rA=1\rB=2\r", "English", "B"), "2");  // old Mac line ends
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyWin) {
  const std::string_view file =
      "[Korean]\n"
      "ONLY_KOREAN=k\n"
      "[English]\n"
      "A=first\n"
      "a=second\n"
      "[ENGLISH]\n"
      "A=third\n"
      "B=in the second English section\n";
  EXPECT_EQ(Read(file, "English", "A"), "first");
  EXPECT_EQ(Read(file, "English", "B"), "default");
  EXPECT_EQ(Read(file, "English", "ONLY_KOREAN"), "default");
}

TEST_F(IniFileTest, ReadsUtf8WithAndWithoutByteOrderMark) {
  const std::string body = "[Korean]\r\nFILELIST=" + std::string(kKoreanFileList) + "\r\n";
  EXPECT_EQ(Read(body, "Korean", "FILELIST"), kKoreanFileList);
  EXPECT_EQ(Read("\xEF\xBB\xBF" + body, "Korean", "FILELIST"), kKoreanFileList);
  // The mark must not become part of the first section name.
  EXPECT_EQ(Read("\xEF\xBB\xBF[Korean]\nA=1\n", "Korean", "A"), "1");
}

TEST_F(IniFileTest, ReadsUtf16LittleEndianWithByteOrderMark) {
  const std::string body =
      "[English]\r\nFILELIST=File list\r\n[Korean]\r\nFILELIST=" + std::string(kKoreanFileList) + "\r\n";
  const std::string bytes = "\xFF\xFE" + common::Utf16ToLittleEndianBytes(common::Utf8ToUtf16(body));
  EXPECT_EQ(Read(bytes, "korean", "filelist"), kKoreanFileList);
  EXPECT_EQ(Read(bytes, "English", "FILELIST"), "File list");
  // An odd trailing byte is a broken last unit, not a reason to fail.
  EXPECT_EQ(Read(bytes + "\x41", "Korean", "FILELIST"), kKoreanFileList);
}

TEST_F(IniFileTest, ValuesAreCutTo260Utf16Units) {
  const std::string longValue(300, 'x');
  EXPECT_EQ(Read("[English]\nA=" + longValue + "\n", "English", "A"), std::string(260, 'x'));

  // Korean letters are one unit each, however many UTF-8 bytes they take.
  std::string korean;
  for (int i = 0; i < 270; ++i) korean += "가";
  EXPECT_EQ(common::Utf16Length(Read("[Korean]\nA=" + korean + "\n", "Korean", "A")), 260u);

  // A character outside the basic plane that the cut would split is left out whole.
  const std::string split = std::string(259, 'z') + "\xF0\x9F\x98\x80";  // U+1F600
  EXPECT_EQ(Read("[English]\nA=" + split + "\n", "English", "A"), std::string(259, 'z'));

  // Quotes come off before the cut.
  EXPECT_EQ(Read("[English]\nA=\"" + std::string(260, 'q') + "\"\n", "English", "A"), std::string(260, 'q'));
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(IniFile(dir_ / "absent.ini").ReadString("English", "A", "fallback"), "fallback");
  EXPECT_EQ(IniFile(dir_.path()).ReadString("English", "A", "a folder"), "a folder");
  EXPECT_EQ(Read("[English]\nA=1\n", "Korean", "A", "fallback"), "fallback");
  EXPECT_EQ(Read("", "English", "A", "fallback"), "fallback");
  EXPECT_EQ(Read("[English]\nA=1\n", "English", "", "fallback"), "fallback");
}

TEST_F(IniFileTest, DefaultLosesTrailingSpacesAndIsCut) {
  EXPECT_EQ(Read("", "English", "A", " km/h  "), " km/h");
  EXPECT_EQ(Read("", "English", "A", std::string(400, 'd')), std::string(260, 'd'));
}

TEST_F(IniFileTest, FileIsReadAgainAtEveryLookup) {
  const IniFile file(path_);
  WriteFile(path_, "[English]\nA=old\n");
  EXPECT_EQ(file.ReadString("English", "A", "d"), "old");
  WriteFile(path_, "[English]\nA=new\n");
  EXPECT_EQ(file.ReadString("English", "A", "d"), "new");
  std::filesystem::remove(path_);
  EXPECT_EQ(file.ReadString("English", "A", "d"), "d");
}

TEST_F(IniFileTest, MalformedBytesGiveTheDefaultOrAReplacement) {
  EXPECT_EQ(Read(std::string("\0\xFF\xFE\x80[=]\n\0\0", 11), "English", "A"), "default");
  EXPECT_EQ(Read("[]\n=\n]\n[[English]]\nA=1", "English", "A"), "default");
  EXPECT_EQ(Read("\xFF\xFE", "English", "A"), "default");
  // A bad byte in a value is shown as U+FFFD rather than dropping the value.
  EXPECT_EQ(Read("[English]\nA=a\xC3\n", "English", "A"), "a\xEF\xBF\xBD");
}

}  // namespace
