#include "manager/setup/setup_lists.h"

#include "manager/setup/camera_time_zones.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_texts.h"

namespace setup {
namespace {

constexpr ListEntry kAudioList[] = {texts::kOff, texts::kOn};
constexpr ListEntry kNumbers[] = {{"", "0"}, {"", "1"}, {"", "2"}, {"", "3"}, {"", "4"}, {"", "5"},
                                  {"", "6"}, {"", "7"}, {"", "8"}, {"", "9"}, {"", "10"}};
constexpr std::size_t kVolumeEntries = 11;        // "0" .. "10"
constexpr std::size_t kPictureLevelEntries = 10;  // "0" .. "9"

std::vector<ListEntry> Numbers(std::size_t count) { return {std::begin(kNumbers), std::begin(kNumbers) + count}; }

}  // namespace

std::vector<ListEntry> ListEntries(const Profile& profile, SetupList list) {
  switch (list) {
    case SetupList::Quality: return {profile.quality_list.begin(), profile.quality_list.end()};
    case SetupList::FrameRate: return {profile.frame_rate_list.begin(), profile.frame_rate_list.end()};
    case SetupList::Audio: return {std::begin(kAudioList), std::end(kAudioList)};
    case SetupList::TimeZone: {
      std::vector<ListEntry> zones;
      zones.reserve(kCameraTimeZones.size());
      for (std::string_view zone : kCameraTimeZones) zones.push_back({"", zone});
      return zones;
    }
    case SetupList::InputVolume:
    case SetupList::OutputVolume: return Numbers(kVolumeEntries);
    case SetupList::Brightness:
    case SetupList::Sharpness: return Numbers(kPictureLevelEntries);
    case SetupList::TVOut: return {profile.av_out_list.begin(), profile.av_out_list.end()};
  }
  return {};
}

std::vector<std::string> ListTexts(const Profile& profile, SetupList list, const TextLookup& lookup) {
  std::vector<std::string> result;
  for (const ListEntry& entry : ListEntries(profile, list)) result.push_back(EntryText(entry, lookup));
  return result;
}

bool ListVisible(const Profile& profile, SetupList list) {
  switch (list) {
    case SetupList::InputVolume: return profile.input_volume_visible;
    case SetupList::OutputVolume: return profile.output_volume_visible;
    case SetupList::Brightness: return profile.brightness_visible;
    case SetupList::Sharpness: return profile.sharpness_visible;
    case SetupList::TVOut: return profile.has_av_out();
    default: return true;
  }
}

}  // namespace setup
