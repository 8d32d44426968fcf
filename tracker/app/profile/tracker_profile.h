#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tracker {

// The two tracker deliverables are built from the same sources; this record holds every way
// in which they differ, so no other code repeats these constants.
enum class TrackerProfileId { kCurrent, kOlder };

// Which Simplified-Chinese texts a build shows.
enum class ChineseTexts { kOwn, kOtherTranslation };
// What the Taiwan language row shows.
enum class TaiwanTexts { kTraditionalChinese, kEnglish };

struct TrackerProfile {
  TrackerProfileId id;
  std::string_view name;         // as the command line spells it
  std::string_view title_words;  // the main window's title
  std::string_view version;
  std::string_view window_class;
  std::string_view database_extension;  // trip database files
  std::string_view save_filter_label;   // the save dialog's filter
  std::string_view save_filter_pattern;
  std::array<char, 4> database_magic;
  bool thin_route;    // Douglas-Peucker with zoom levels before encoding
  bool sends_levels;  // `map_levels` goes to the page with a row
  ChineseTexts chinese_texts;
  TaiwanTexts taiwan_texts;
};

extern const TrackerProfile kCurrentProfile;  // Kel Tracker
extern const TrackerProfile kOlderProfile;    // Lumaro Tracker

const TrackerProfile& ProfileFor(TrackerProfileId id);

// The main window's title: "%s %s%s" of the title words, "V." and the version, and nothing.
std::string WindowTitle(const TrackerProfile& profile);

// "current" or "older".
std::optional<TrackerProfileId> ProfileNamed(std::string_view name);

}  // namespace tracker
