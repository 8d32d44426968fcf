#pragma once

#include <string_view>
#include <vector>

#include "manager/setup/setup_controls.h"

namespace setup {

struct Profile;

// A Setup.ini key that the dialog shows and the reader recognises, and the control behind it.
struct SetupKey {
  enum class Kind { List, Dst, Slider };
  std::string_view name;
  Kind kind = Kind::List;
  SetupList list = SetupList::Quality;  // Kind::List
  LevelSlider slider = LevelSlider::X;  // Kind::Slider
};

// The profile's keys in the order they stand in the file. Channel, TriggerMode,
// RotationTrigger and GPS are not among them: the dialog has no control for them.
std::vector<SetupKey> ProfileSetupKeys(const Profile& profile);

// The key named exactly `name` (case matters, as for the camera), or nullptr.
const SetupKey* FindSetupKey(const std::vector<SetupKey>& keys, std::string_view name);

// The level sliders the profile's dialog has.
std::vector<LevelSlider> ProfileSliders(const Profile& profile);

}  // namespace setup
