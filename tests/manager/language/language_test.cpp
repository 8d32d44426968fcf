#include "manager/language/language.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/manager/language/scoped_locale.h"

namespace {

using namespace language;

TEST(LanguageNameForId, PrimaryLanguageChoosesTheSection) {
  EXPECT_EQ(LanguageNameForId(0x0C0A), "Spanish");
  EXPECT_EQ(LanguageNameForId(0x080A), "Spanish");  // Mexico
  EXPECT_EQ(LanguageNameForId(0x540A), "Spanish");
  EXPECT_EQ(LanguageNameForId(0x0411), "Japanese");
  EXPECT_EQ(LanguageNameForId(0x0412), "Korean");
  EXPECT_EQ(LanguageNameForId(0x0419), "Russian");
  EXPECT_EQ(LanguageNameForId(0x0409), "English");
  EXPECT_EQ(LanguageNameForId(0x0407), "English");  // German has no section
  EXPECT_EQ(LanguageNameForId(0x0000), "English");
  // Only the PRC is simplified Chinese.
  EXPECT_EQ(LanguageNameForId(0x0804), "ChineseS");
  EXPECT_EQ(LanguageNameForId(0x0404), "ChineseT");  // Taiwan
  EXPECT_EQ(LanguageNameForId(0x0C04), "ChineseT");  // Hong Kong
  EXPECT_EQ(LanguageNameForId(0x1004), "ChineseT");  // Singapore
  EXPECT_EQ(LanguageNameForId(0x1404), "ChineseT");  // Macao
}

TEST(LanguageIdForLocale, MapsTheLanguagesThatHaveASection) {
  EXPECT_EQ(LanguageIdForLocale("es_ES.UTF-8"), 0x0C0A);
  EXPECT_EQ(LanguageIdForLocale("es_MX.UTF-8"), 0x080A);
  EXPECT_EQ(LanguageIdForLocale("ja_JP.UTF-8"), 0x0411);
  EXPECT_EQ(LanguageIdForLocale("ko_KR.eucKR"), 0x0412);
  EXPECT_EQ(LanguageIdForLocale("ru_RU.UTF-8"), 0x0419);
  EXPECT_EQ(LanguageIdForLocale("ru_UA"), 0x0419);
}

TEST(LanguageIdForLocale, EverySpanishRegionIsSpanish) {
  for (const char* locale : {"es", "es_AR.UTF-8", "es_CL", "es_US.UTF-8", "es_XX", "es_ES@euro"}) {
    EXPECT_EQ(LanguageIdForLocale(locale) & 0xFF, 0x0A) << locale;
  }
}

TEST(LanguageIdForLocale, ChineseRegionsTellTheScripts) {
  EXPECT_EQ(LanguageIdForLocale("zh_CN.UTF-8"), 0x0804);
  EXPECT_EQ(LanguageIdForLocale("zh_TW.UTF-8"), 0x0404);
  EXPECT_EQ(LanguageIdForLocale("zh_TW.UTF-8@variant"), 0x0404);
  EXPECT_EQ(LanguageIdForLocale("zh_HK.UTF-8"), 0x0C04);
  EXPECT_EQ(LanguageIdForLocale("zh_SG"), 0x1004);
  EXPECT_EQ(LanguageIdForLocale("zh"), 0x0804);
}

TEST(LanguageIdForLocale, EverythingElseIsEnglish) {
  for (const char* locale : {"C", "POSIX", "C.UTF-8", "", "en_US.UTF-8", "en_GB", "de_DE.UTF-8",
                             "fr_FR@euro", "esperanto", "e", "_MX", ".UTF-8", "@", "_"}) {
    EXPECT_EQ(LanguageIdForLocale(locale), kEnglishUnitedStates) << locale;
  }
}

TEST(MessagesLocale, FirstSetAndNonEmptyVariableWins) {
  {
    const ScopedLocale locale("ko_KR.UTF-8", "ja_JP.UTF-8", "ru_RU.UTF-8");
    EXPECT_EQ(MessagesLocale(), "ko_KR.UTF-8");
    EXPECT_EQ(GetUserDefaultLangID(), 0x0412);
  }
  {
    const ScopedLocale locale("", "ja_JP.UTF-8", "ru_RU.UTF-8");
    EXPECT_EQ(MessagesLocale(), "ja_JP.UTF-8");
  }
  {
    const ScopedLocale locale(std::nullopt, std::nullopt, "zh_TW.UTF-8");
    EXPECT_EQ(GetUserDefaultLangID(), 0x0404);
  }
  {
    const ScopedLocale locale(std::nullopt, "", std::nullopt);
    EXPECT_EQ(MessagesLocale(), "C");
    EXPECT_EQ(GetUserDefaultLangID(), kEnglishUnitedStates);
  }
}

TEST(LanguageFilePath, ReplacesTheProgramNameInItsFolder) {
  EXPECT_EQ(LanguageFilePath("/usr/lib/kel/kel2ch-manager"), "/usr/lib/kel/2CH_Managerlang.ini");
  EXPECT_EQ(LanguageFilePath("/opt/ryn/ryn-manager", kOneChannelLanguageFileName),
            "/opt/ryn/Managerlang.ini");
  EXPECT_EQ(LanguageFilePath("/kel-manager"), "/2CH_Managerlang.ini");
  EXPECT_EQ(LanguageFilePath("./bin/kel-manager"), "./bin/2CH_Managerlang.ini");
}

TEST(LanguageFilePath, AcceptsBackslashesAndBarePrograms) {
  EXPECT_EQ(LanguageFilePath("C:\\Program Files\\Kel\\Kel2CH.exe"),
            "C:\\Program Files\\Kel\\2CH_Managerlang.ini");
  EXPECT_EQ(LanguageFilePath("C:/Kel\\bin/Kel2CH.exe"), "C:/Kel\\bin/2CH_Managerlang.ini");
  EXPECT_EQ(LanguageFilePath("kel2ch-manager"), "2CH_Managerlang.ini");
  EXPECT_EQ(LanguageFilePath(""), "2CH_Managerlang.ini");
}

TEST(ProgramPath, NamesThisTestProgram) {
  const std::string path = ProgramPath();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(std::filesystem::path(path).filename(), "manager_language_tests");
}

}  // namespace
