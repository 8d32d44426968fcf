#include "manager/setup/memory_setup_controls.h"

#include <algorithm>

#include "manager/setup/setup_lists.h"

namespace setup {
namespace {

std::size_t Slot(SetupList list) { return static_cast<std::size_t>(list); }
std::size_t Slot(LevelSlider slider) { return static_cast<std::size_t>(slider); }

}  // namespace

MemorySetupControls::MemorySetupControls(const Profile& profile) {
  for (std::size_t i = 0; i < kLists; ++i) {
    lists_[i].count = static_cast<int>(ListEntries(profile, static_cast<SetupList>(i)).size());
  }
}

void MemorySetupControls::SelectIndex(SetupList list, int index) {
  List& entry = lists_.at(Slot(list));
  entry.selected = (index >= 0 && index < entry.count) ? index : -1;
}

int MemorySetupControls::SelectedIndex(SetupList list) const { return lists_.at(Slot(list)).selected; }

void MemorySetupControls::SetSliderRange(LevelSlider slider, int min, int max) {
  Slider& s = sliders_.at(Slot(slider));
  s.min = min;
  s.max = std::max(min, max);
  s.position = std::clamp(s.position, s.min, s.max);
}

void MemorySetupControls::SetSliderPosition(LevelSlider slider, int position) {
  Slider& s = sliders_.at(Slot(slider));
  s.position = std::clamp(position, s.min, s.max);
}

int MemorySetupControls::SliderPosition(LevelSlider slider) const { return sliders_.at(Slot(slider)).position; }

int MemorySetupControls::EntryCount(SetupList list) const { return lists_.at(Slot(list)).count; }

}  // namespace setup
