#pragma once

#include <array>
#include <cstddef>

#include "manager/setup/setup_controls.h"

namespace setup {

struct Profile;

// The dialog's controls without a window: lists filled with the profile's entries, the DST box
// unchecked, sliders at 0 in the control's initial range 0..100. Used by the command-line tool
// and the tests; behaves as the real controls do.
class MemorySetupControls final : public SetupControls {
 public:
  explicit MemorySetupControls(const Profile& profile);

  void SelectIndex(SetupList list, int index) override;
  int SelectedIndex(SetupList list) const override;
  void SetDstChecked(bool checked) override { dst_checked_ = checked; }
  bool DstChecked() const override { return dst_checked_; }
  void SetSliderRange(LevelSlider slider, int min, int max) override;
  void SetSliderPosition(LevelSlider slider, int position) override;
  int SliderPosition(LevelSlider slider) const override;

  int EntryCount(SetupList list) const;

 private:
  struct List {
    int count = 0;
    int selected = -1;
  };
  struct Slider {
    int min = 0;
    int max = 100;
    int position = 0;
  };
  static constexpr std::size_t kLists = 9;
  static constexpr std::size_t kSliders = 6;

  std::array<List, kLists> lists_{};
  std::array<Slider, kSliders> sliders_{};
  bool dst_checked_ = false;
};

}  // namespace setup
