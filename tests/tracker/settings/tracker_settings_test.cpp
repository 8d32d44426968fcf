#include "tracker/app/settings/tracker_settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tracker/app/settings/language_table.h"

namespace {

using tracker::MemorySettingsStore;

TEST(TrackerSettingsTest, AnEmptyStoreStartsInKoreanAndSeoulAndWritesBoth) {
  MemorySettingsStore store;
  const tracker::StartupSettings settings = tracker::ApplyStartupSettings(store);
  EXPECT_EQ(settings.language_index, 1);
  EXPECT_EQ(settings.time_zone_index, 71);
  EXPECT_EQ(settings.zone.hours, 9);
  EXPECT_EQ(settings.zone.minutes, 0);
  EXPECT_EQ(store.ReadString("LANG"), "eLANG_KOR");
  EXPECT_EQ(store.ReadNumber("GMT"), 71u);
  EXPECT_EQ(tracker::ReadOpenPath(store), "");
  EXPECT_FALSE(store.ReadString("OPENPATH"));
}

TEST(TrackerSettingsTest, StoredValuesAreTakenAndBadOnesFallBack) {
  MemorySettingsStore store;
  store.WriteString("LANG", "eLANG_COL");
  store.WriteNumber("GMT", 60);
  tracker::StartupSettings settings = tracker::ApplyStartupSettings(store);
  EXPECT_EQ(settings.language_index, 10);
  EXPECT_EQ(settings.time_zone_index, 60);

  store.WriteString("LANG", "eLANG_XYZ");
  store.WriteNumber("GMT", 84);
  settings = tracker::ApplyStartupSettings(store);
  EXPECT_EQ(settings.language_index, 1);
  EXPECT_EQ(settings.time_zone_index, 71);
  EXPECT_EQ(store.ReadString("LANG"), "eLANG_KOR");
  EXPECT_EQ(store.ReadNumber("GMT"), 71u);

  // A value of the other type counts as missing.
  store.WriteString("GMT", "3");
  EXPECT_EQ(tracker::ReadTimeZoneIndex(store), 71);
  store.WriteNumber("GMT", 0);
  EXPECT_EQ(tracker::ReadTimeZoneIndex(store), 0);
}

TEST(TrackerSettingsTest, WritesKeepTheStoredTypes) {
  MemorySettingsStore store;
  tracker::WriteOpenPath(store, "/media/card/GPSLOG");
  tracker::WriteLanguageIndex(store, 0);
  tracker::WriteTimeZoneIndex(store, 83);
  tracker::WriteLanguageIndex(store, 12);  // outside the table: not written
  tracker::WriteTimeZoneIndex(store, -1);
  EXPECT_EQ(tracker::ReadOpenPath(store), "/media/card/GPSLOG");
  EXPECT_EQ(store.ReadString("LANG"), "eLANG_ENG");
  EXPECT_EQ(store.ReadNumber("GMT"), 83u);
}

TEST(TimeZoneTableTest, EntriesHaveOffsetsReadFromTheirText) {
  EXPECT_EQ(tracker::kTimeZoneNames[0], "GMT -12:00) International Date Line West");
  EXPECT_EQ(tracker::kTimeZoneNames[30], "GMT) Greenwich Mean Time: Dublin, Edinburgh, Lisbon, London");
  EXPECT_EQ(tracker::kTimeZoneNames[71], "GMT +09:00) Seoul");
  EXPECT_EQ(tracker::kTimeZoneNames[83], "GMT +13:00) Nuku'alofa");

  const auto offset = [](int index) {
    const tracker::TimeZoneOffset zone = tracker::TimeZoneOffsetAt(index);
    return std::pair(zone.hours, zone.minutes);
  };
  EXPECT_EQ(tracker::kTimeZoneNames[21], "GMT -03:30) Newfoundland");
  EXPECT_EQ(offset(21), std::pair(-3, -30));
  EXPECT_EQ(tracker::kTimeZoneNames[60], "GMT +05:45) Kathmandu");
  EXPECT_EQ(offset(60), std::pair(5, 45));
  EXPECT_EQ(tracker::kTimeZoneNames[29], "GMT) Casablanca, Monrovia, Reykjavik");
  EXPECT_EQ(offset(29), std::pair(0, 0));
  EXPECT_EQ(offset(0), std::pair(-12, 0));
  EXPECT_EQ(offset(84), std::pair(9, 0));
}

TEST(LanguageTableTest, CodesAndLabelsFollowTheTable) {
  std::set<std::string_view> codes;
  for (int i = 0; i < tracker::kLanguageCount; ++i) {
    const tracker::Language& language = tracker::kLanguages[static_cast<std::size_t>(i)];
    EXPECT_EQ(language.index, i);
    codes.insert(language.code);
    EXPECT_EQ(tracker::LanguageIndexOfCode(language.code), i);
  }
  EXPECT_EQ(codes.size(), 12u);
  EXPECT_FALSE(tracker::LanguageIndexOfCode("eLANG_kor"));
  EXPECT_EQ(tracker::kLanguages[1].label, "한국");
  EXPECT_EQ(tracker::kLanguages[4].label, "РУС");
  EXPECT_EQ(tracker::kLanguages[11].label_id, 2211);
  EXPECT_EQ(tracker::kLanguages[10].label_id, 2010);
}

TEST(LanguageTableTest, EveryLanguageHasTwentyFourTextsWithoutTrailingBlanks) {
  for (const tracker::TrackerProfile* profile : {&tracker::kCurrentProfile, &tracker::kOlderProfile}) {
    for (int language = 0; language < tracker::kLanguageCount; ++language) {
      for (const std::string_view text : tracker::TextsOf(language, *profile)) {
        EXPECT_FALSE(text.empty()) << language;
        EXPECT_NE(text.back(), ' ') << language << ": " << text;
      }
    }
  }
}

TEST(LanguageTableTest, TextsDependOnLanguageAndBuild) {
  const tracker::TrackerProfile& current = tracker::kCurrentProfile;
  const tracker::TrackerProfile& older = tracker::kOlderProfile;
  EXPECT_EQ(tracker::Text(1, tracker::kTextLogFileFormatNotFound, current), "로그 파일 포맷이 없습니다!");
  EXPECT_EQ(tracker::Text(1, tracker::kTextDaylightSaving, current), "서머타임(Summer Time)");
  EXPECT_EQ(tracker::Text(4, tracker::kTextMaximumSpeed, current), "Максимальная скорость");
  EXPECT_EQ(tracker::Text(6, tracker::kTextPurpose, current), "Propósito");
  EXPECT_EQ(tracker::Text(9, tracker::kTextStart, current), "InÍcio");
  EXPECT_EQ(tracker::Text(3, tracker::kTextNotice, current), "Notice");
  EXPECT_EQ(tracker::Text(2, tracker::kTextParking, current), "停车(熄火)");
  // US, Singapore, Australia and Colombia carry the UK texts.
  for (const int same_as_uk : {5, 7, 8, 10}) {
    EXPECT_EQ(&tracker::TextsOf(same_as_uk, current), &tracker::TextsOf(0, current));
  }
  // The older build words Simplified Chinese items 1-13 its own way and shares the rest.
  EXPECT_EQ(tracker::Text(2, tracker::kTextDriver, current), "驱动");
  EXPECT_EQ(tracker::Text(2, tracker::kTextDriver, older), "驾驶员");
  EXPECT_EQ(tracker::Text(2, tracker::kTextMemo, older), "备注");
  for (int item = 1; item <= tracker::kTextsPerLanguage; ++item) {
    const bool same = tracker::Text(2, item, current) == tracker::Text(2, item, older);
    EXPECT_EQ(same, item == tracker::kTextDate || item > tracker::kTextTripInformation) << item;
  }
  EXPECT_EQ(tracker::Text(11, tracker::kTextTotalDistance, current), "總里程(哩程)");
  EXPECT_EQ(tracker::Text(11, tracker::kTextTotalDistance, older), "Total Distance");
  EXPECT_EQ(tracker::Text(11, tracker::kTextOneDay, older), "One Day");
  EXPECT_EQ(tracker::Text(0, 25, current), "");
  EXPECT_EQ(&tracker::TextsOf(-1, current), &tracker::TextsOf(1, current));
}

}  // namespace
