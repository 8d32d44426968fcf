#include "manager/setup/setup_keys.h"

#include "manager/setup/profile.h"

namespace setup {
namespace {

SetupKey ListKey(std::string_view name, SetupList list) {
  return {.name = name, .kind = SetupKey::Kind::List, .list = list};
}

SetupKey SliderKey(std::string_view name, LevelSlider slider) {
  return {.name = name, .kind = SetupKey::Kind::Slider, .slider = slider};
}

}  // namespace

std::vector<SetupKey> ProfileSetupKeys(const Profile& profile) {
  std::vector<SetupKey> keys = {
      ListKey("Quality", SetupList::Quality),
      ListKey("FrameRate", SetupList::FrameRate),
      ListKey("Audio", SetupList::Audio),
      ListKey("TimeZone", SetupList::TimeZone),
      {.name = "DST", .kind = SetupKey::Kind::Dst},
      ListKey("InputVolume", SetupList::InputVolume),
      ListKey("OutputVolume", SetupList::OutputVolume),
      SliderKey("TriggerLevelX", LevelSlider::X),
      SliderKey("TriggerLevelY", LevelSlider::Y),
      SliderKey("TriggerLevelZ", LevelSlider::Z),
  };
  if (profile.has_parking_sensitivity) {
    keys.push_back(SliderKey("ParkTriggerLevelX", LevelSlider::ParkX));
    keys.push_back(SliderKey("ParkTriggerLevelY", LevelSlider::ParkY));
    keys.push_back(SliderKey("ParkTriggerLevelZ", LevelSlider::ParkZ));
  }
  keys.push_back(ListKey("Brightness", SetupList::Brightness));
  keys.push_back(ListKey("Sharpness", SetupList::Sharpness));
  if (profile.has_av_out()) keys.push_back(ListKey("TVOut", SetupList::TVOut));
  return keys;
}

const SetupKey* FindSetupKey(const std::vector<SetupKey>& keys, std::string_view name) {
  for (const SetupKey& key : keys) {
    if (key.name == name) return &key;
  }
  return nullptr;
}

std::vector<LevelSlider> ProfileSliders(const Profile& profile) {
  std::vector<LevelSlider> sliders = {LevelSlider::X, LevelSlider::Y, LevelSlider::Z};
  if (profile.has_parking_sensitivity) {
    sliders.insert(sliders.end(), {LevelSlider::ParkX, LevelSlider::ParkY, LevelSlider::ParkZ});
  }
  return sliders;
}

}  // namespace setup
