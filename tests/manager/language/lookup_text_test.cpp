#include "manager/language/lookup_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/text_encoding.h"
#include "manager/language/version_text.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace language;
using testing_support::TempDir;
using testing_support::WriteFile;

// A Korean language file as the Windows tools save it: UTF-16LE with a byte-order mark.
std::string KoreanLanguageFile() {
  const std::string text =
      "[English]\r\n"
      "FILELIST=File list\r\n"
      "[Korean]\r\n"
      "DATE=날짜\r\n"
      "SEARCH_FOLDER=\r\n";
  return "\xFF\xFE" + common::Utf16ToLittleEndianBytes(common::Utf8ToUtf16(text));
}

class LookupTextTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(path_, KoreanLanguageFile()); }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "2CH_Managerlang.ini";
  LanguageTable korean_{"Korean", path_};
};

TEST_F(LookupTextTest, TranslationOrElseTheDefault) {
  EXPECT_EQ(korean_.LookupText(keys::kDate), "날짜");
  // The Korean section lacks FILELIST; the English section's value is not used either.
  EXPECT_EQ(korean_.LookupText(keys::kFileList), "File list");
  EXPECT_EQ(korean_.LookupText("FILELIST", "Fallback"), "Fallback");
  // Present with an empty value.
  EXPECT_EQ(korean_.LookupText(keys::kSearchFolder), "Please select folder");
  EXPECT_EQ(LanguageTable("Russian", path_).LookupText(keys::kDate), "Date");
  EXPECT_EQ(LanguageTable("Korean", dir_ / "none.ini").LookupText(keys::kDate), "Date");
}

TEST_F(LookupTextTest, EmptyKeyOrLanguageNameGivesAnEmptyText) {
  EXPECT_EQ(korean_.LookupText("", "Date"), "");
  EXPECT_EQ(LanguageTable("", path_).LookupText(keys::kDate), "");
}

TEST_F(LookupTextTest, TextIsCutAt2047Units) {
  // An empty value falls back to the whole default, cut only at the result's size.
  std::string longDefault;
  for (int i = 0; i < 2100; ++i) longDefault += "가";
  const std::string text = korean_.LookupText("SEARCH_FOLDER", longDefault);
  EXPECT_EQ(common::Utf16Length(text), kMaxTextLength);
  EXPECT_TRUE(longDefault.starts_with(text));

  // A missing key goes through the file reader, whose copy of the default holds 260 units.
  EXPECT_EQ(common::Utf16Length(korean_.LookupText("ABSENT", longDefault)), 260u);
}

TEST_F(LookupTextTest, ProcessWideTableIsWhatStartUpSets) {
  // Before start-up every text is its English default.
  EXPECT_EQ(CurrentLanguageTable().language_name(), "English");
  EXPECT_EQ(LookupText(keys::kGpsSpeed), "Speed");

  SetCurrentLanguageTable(korean_);
  EXPECT_EQ(LookupText(keys::kDate), "날짜");
  EXPECT_EQ(LookupText("DATE", "Date"), "날짜");
  EXPECT_EQ(LookupText(keys::kRecordingDate), "Date");

  SetCurrentLanguageTable(LanguageTable());
  EXPECT_EQ(LookupText(keys::kDate), "Date");
}

TEST(TextKeys, EveryKeyIsAnUpperCaseIdentifierListedOnce) {
  std::set<std::string_view> seen;
  for (const TextKey& key : kTextKeys) {
    EXPECT_TRUE(seen.insert(key.key).second) << key.key << " listed twice";
    EXPECT_FALSE(key.fallback.empty()) << key.key;
    for (const char c : key.key) {
      EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') << key.key;
    }
  }
}

TEST(VersionText, BuildsTheVersionLabels) {
  EXPECT_EQ(VersionText("Ver.", 2, 2, 5, 5), keys::kManagerVersion.fallback);
  EXPECT_EQ(VersionText("J8 Manager", 1, 2, 1, 4), "J8 Manager 1.2.1.4");
  EXPECT_EQ(VersionText("Ver.", 1, 2, 5, 4), "Ver. 1.2.5.4");
}

}  // namespace
