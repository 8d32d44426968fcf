#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "tracker/app/profile/tracker_profile.h"

namespace tracker {

inline constexpr int kLanguageCount = 12;
inline constexpr int kTextsPerLanguage = 24;
inline constexpr int kDefaultLanguageIndex = 1;  // Korean

// The window's texts by item number (1-24).
enum TextItem : int {
  kTextDate = 1,
  kTextDriver,
  kTextPurpose,
  kTextMemo,
  kTextStart,
  kTextEnd,
  kTextDrivingInformation,
  kTextTotalDistance,
  kTextDrivingTime,
  kTextStoppedDuration,
  kTextAverageSpeed,
  kTextMaximumSpeed,
  kTextTripInformation,
  kTextKmh,
  kTextMileh,
  kTextHhMmSs,
  kTextKm,
  kTextMile,
  kTextNotice,
  kTextLogFileFormatNotFound,
  kTextDaylightSaving,
  kTextOneDay,
  kTextDriving,
  kTextParking,
};

using LanguageTexts = std::array<std::string_view, kTextsPerLanguage>;

// One entry of the language box; index = position in the box = the map page's `lang`.
struct Language {
  int index;
  std::string_view code;  // stored as `LANG`
  std::string_view label;
  int label_id;  // string id of the label
};

extern const std::array<Language, kLanguageCount> kLanguages;

// The language whose code is `code`; none for an unknown code.
std::optional<int> LanguageIndexOfCode(std::string_view code);

// The 24 texts a build shows for language `index` (an index outside the table gives the
// default language's).
const LanguageTexts& TextsOf(int language_index, const TrackerProfile& profile);

// Item `item` (1-24) of those texts.
std::string_view Text(int language_index, int item, const TrackerProfile& profile);

}  // namespace tracker
