#include "manager/setup/setup_file_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

#include "common/file_reader.h"
#include "common/trim.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_keys.h"
#include "manager/setup/setup_lists.h"

namespace setup {
namespace {

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 20;
constexpr double kStepsPerG = 20.0;

using common::Trim;

// A leading decimal integer, as the camera's tools read it: optional sign, digits, anything after
// ignored; no digits gives 0, and a number too large for 32 bits saturates.
int LeadingInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int>::max()) {
      return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
  }
  return static_cast<int>(negative ? -value : value);
}

// A leading decimal number; no number gives 0.
double LeadingNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return 0.0;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return 0.0;
  return negative ? -value : value;
}

// Level value in G to a slider position: x 20, truncated toward zero. Values beyond what an int
// holds are pinned first (the slider clamps them anyway), so no conversion overflows.
int LevelPosition(std::string_view value) {
  const double steps = LeadingNumber(value) * kStepsPerG;
  if (std::isnan(steps)) return 0;
  if (steps >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (steps <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(steps);
}

std::string ValueWithoutSemicolons(std::string_view raw) {
  std::string value;
  value.reserve(raw.size());
  for (char c : raw) {
    if (c != ';') value.push_back(c);
  }
  return std::string(Trim(std::string_view(value)));
}

void ApplyLine(const Profile& profile, const std::vector<SetupKey>& keys, std::string_view line,
               SetupControls& controls) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return;
  const std::string value = ValueWithoutSemicolons(line.substr(eq + 1));
  if (value.empty()) return;
  const SetupKey* key = FindSetupKey(keys, Trim(line.substr(0, eq)));
  if (key == nullptr) return;
  switch (key->kind) {
    case SetupKey::Kind::List:
      controls.SelectIndex(key->list, StoredListIndex(profile, key->list, LeadingInteger(value)));
      break;
    case SetupKey::Kind::Dst: controls.SetDstChecked(LeadingInteger(value) != 0); break;
    case SetupKey::Kind::Slider:
      controls.SetSliderRange(key->slider, kSliderMin, kSliderMax);
      controls.SetSliderPosition(key->slider, LevelPosition(value));
      break;
  }
}

int DefaultLevel(const DeviceSettings& defaults, LevelSlider slider) {
  switch (slider) {
    case LevelSlider::X: return defaults.TriggerLevelX;
    case LevelSlider::Y: return defaults.TriggerLevelY;
    case LevelSlider::Z: return defaults.TriggerLevelZ;
    case LevelSlider::ParkX: return defaults.ParkTriggerLevelX;
    case LevelSlider::ParkY: return defaults.ParkTriggerLevelY;
    case LevelSlider::ParkZ: return defaults.ParkTriggerLevelZ;
  }
  return 0;
}

}  // namespace

int DefaultListIndex(const Profile& profile, SetupList list) {
  const DeviceSettings& defaults = profile.defaults;
  switch (list) {
    case SetupList::Quality: return defaults.Quality;
    case SetupList::FrameRate: return defaults.FrameRate;
    case SetupList::Audio: return defaults.Audio;
    case SetupList::TimeZone: return defaults.TimeZone;
    case SetupList::InputVolume: return defaults.InputVolume;
    case SetupList::OutputVolume: return defaults.OutputVolume;
    case SetupList::Brightness: return defaults.Brightness;
    case SetupList::Sharpness: return defaults.Sharpness;
    case SetupList::TVOut: return defaults.TVOut;
  }
  return 0;
}

int StoredListIndex(const Profile& profile, SetupList list, int stored) {
  const auto count = ListEntries(profile, list).size();
  if (stored >= 0 && static_cast<std::size_t>(stored) < count) return stored;
  return DefaultListIndex(profile, list);
}

void ApplyDefaults(const Profile& profile, SetupControls& controls) {
  const DeviceSettings& defaults = profile.defaults;
  for (const SetupList list :
       {SetupList::TimeZone, SetupList::Quality, SetupList::FrameRate, SetupList::InputVolume, SetupList::OutputVolume,
        SetupList::Brightness, SetupList::Sharpness, SetupList::Audio}) {
    controls.SelectIndex(list, DefaultListIndex(profile, list));
  }
  if (profile.has_av_out()) controls.SelectIndex(SetupList::TVOut, defaults.TVOut);
  for (LevelSlider slider : ProfileSliders(profile)) {
    controls.SetSliderRange(slider, kSliderMin, kSliderMax);
    controls.SetSliderPosition(slider, DefaultLevel(defaults, slider));
  }
}

void ReadSetupText(const Profile& profile, std::string_view text, SetupControls& controls) {
  ApplyDefaults(profile, controls);
  const std::vector<SetupKey> keys = ProfileSetupKeys(profile);
  while (!text.empty()) {
    const auto end = text.find('\n');
    ApplyLine(profile, keys, text.substr(0, end), controls);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

SetupReadResult ReadSetupFile(const Profile& profile, const std::filesystem::path& path, SetupControls& controls) {
  ApplyDefaults(profile, controls);
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return SetupReadResult::Missing;
  // Only a regular file is read: a FIFO or device in its place would block or never end.
  const std::optional<std::string> text = common::ReadWholeFile(path);
  if (!text) return SetupReadResult::Unreadable;
  ReadSetupText(profile, *text, controls);
  return SetupReadResult::Read;
}

}  // namespace setup
