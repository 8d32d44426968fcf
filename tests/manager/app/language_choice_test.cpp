// The language each build starts in.
#include "manager/app/language_choice.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_locale.h"

namespace {

using app::StartLanguageName;

TEST(StartLanguageName, OneChannelBuildsFollowTheSystemLocaleByItsLanguagesEnglishName) {
  const ScopedLocale user("ko_KR.UTF-8", std::nullopt, "ko_KR.UTF-8");  // the user's own is not asked
  for (const setup::Profile* profile : {&setup::kParkProfile, &setup::kBrandProfile}) {
    EXPECT_EQ(StartLanguageName(*profile, "ru_RU.UTF-8"), "Russian");
    EXPECT_EQ(StartLanguageName(*profile, "ja_JP.UTF-8"), "Japanese");
    EXPECT_EQ(StartLanguageName(*profile, "es_AR.UTF-8"), "Spanish");
    EXPECT_EQ(StartLanguageName(*profile, "de_AT.UTF-8"), "German");
    EXPECT_EQ(StartLanguageName(*profile, "zh_HK.UTF-8"), "ChineseT");
    EXPECT_EQ(StartLanguageName(*profile, "zh_TW.UTF-8"), "ChineseT");
    EXPECT_EQ(StartLanguageName(*profile, "zh_SG.UTF-8"), "ChineseS");
    EXPECT_EQ(StartLanguageName(*profile, "zh_CN.GB18030"), "ChineseS");
    EXPECT_EQ(StartLanguageName(*profile, "C.UTF-8"), "English");
    EXPECT_EQ(StartLanguageName(*profile, "POSIX"), "English");
    EXPECT_EQ(StartLanguageName(*profile, "en_US.UTF-8"), "English");
  }
}

TEST(StartLanguageName, TheDualBuildFollowsTheUsersLocale) {
  {
    const ScopedLocale user(std::nullopt, "zh_SG.UTF-8", "en_US.UTF-8");
    // Singapore is not the PRC: traditional for the dual build, simplified for the others.
    EXPECT_EQ(StartLanguageName(setup::kDualProfile, "ru_RU.UTF-8"), "ChineseT");
    EXPECT_EQ(StartLanguageName(setup::kParkProfile, "zh_SG.UTF-8"), "ChineseS");
  }
  const ScopedLocale user(std::nullopt, std::nullopt, "de_DE.UTF-8");
  EXPECT_EQ(StartLanguageName(setup::kDualProfile, "ko_KR.UTF-8"), "English");
}

}  // namespace
