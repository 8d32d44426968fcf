#include "tools/samplecard/card.h"

namespace samplecard {

CardOptions PresetOptions(Preset preset) {
  CardOptions options;
  switch (preset) {
    case Preset::Small:
      options.days = 2;
      options.recordings = 6;
      options.recordingSeconds = 2;
      break;
    case Preset::Demo:
      options.days = 7;
      options.recordings = 10;
      options.recordingSeconds = 20;
      break;
    case Preset::Large:
      // About a million fixes: 90 days of six drives of about half an hour.
      options.days = 90;
      options.drivesPerDay = 6;
      options.minDriveSeconds = 1500;
      options.maxDriveSeconds = 2200;
      options.fixesPerLogFile = 1200;
      options.recordings = 0;
      break;
  }
  return options;
}

std::optional<Preset> PresetNamed(std::string_view name) {
  if (name == "small") return Preset::Small;
  if (name == "demo") return Preset::Demo;
  if (name == "large") return Preset::Large;
  return std::nullopt;
}

}  // namespace samplecard
