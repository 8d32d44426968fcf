#include "tracker/app/profile/tracker_profile.h"

namespace tracker {

const TrackerProfile kCurrentProfile = {
    .id = TrackerProfileId::kCurrent,
    .name = "current",
    .title_words = "Kel Tracker",
    .version = "2.0.0.6",
    .window_class = "KEL_TRACKER_CLASS",
    .database_extension = ".KEL",
    .save_filter_label = "KEL file(*.KEL)",
    .save_filter_pattern = "*.KEL",
    .database_magic = {'.', 'K', 'E', 'L'},
    .thin_route = true,
    .sends_levels = true,
    .chinese_texts = ChineseTexts::kOwn,
    .taiwan_texts = TaiwanTexts::kTraditionalChinese,
};

const TrackerProfile kOlderProfile = {
    .id = TrackerProfileId::kOlder,
    .name = "older",
    .title_words = "Lumaro Lumaro Tracker",
    .version = "1.0.0.2",
    .window_class = "KEL_TRACKER_CLASS",
    .database_extension = ".RYN",
    .save_filter_label = "RYN file(*.RYN)",
    .save_filter_pattern = "*.RYN",
    .database_magic = {'.', 'R', 'Y', 'N'},
    .thin_route = false,
    .sends_levels = false,
    .chinese_texts = ChineseTexts::kOtherTranslation,
    .taiwan_texts = TaiwanTexts::kEnglish,
};

const TrackerProfile& ProfileFor(TrackerProfileId id) {
  return id == TrackerProfileId::kOlder ? kOlderProfile : kCurrentProfile;
}

std::string WindowTitle(const TrackerProfile& profile) {
  return std::string(profile.title_words) + " V." + std::string(profile.version);
}

std::optional<TrackerProfileId> ProfileNamed(std::string_view name) {
  for (const TrackerProfile* profile : {&kCurrentProfile, &kOlderProfile}) {
    if (profile->name == name) return profile->id;
  }
  return std::nullopt;
}

}  // namespace tracker
