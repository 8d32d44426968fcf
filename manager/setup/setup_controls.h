#pragma once

namespace setup {

// The drop lists of the setup dialog whose selected index is stored in Setup.ini.
enum class SetupList { Quality, FrameRate, Audio, TimeZone, InputVolume, OutputVolume, Brightness, Sharpness, TVOut };

// The trigger level sliders: driving, then parking (park profile only).
enum class LevelSlider { X, Y, Z, ParkX, ParkY, ParkZ };

// What the settings reader and writers need of the dialog's controls. The Qt dialog implements
// it over its widgets; MemorySetupControls keeps the same behaviour in memory.
class SetupControls {
 public:
  virtual ~SetupControls() = default;

  // An index outside the list's entries leaves the list with no selection.
  virtual void SelectIndex(SetupList list, int index) = 0;
  // -1 when nothing is selected.
  virtual int SelectedIndex(SetupList list) const = 0;

  virtual void SetDstChecked(bool checked) = 0;
  virtual bool DstChecked() const = 0;

  // The slider keeps its position inside its range: a position outside is clamped.
  virtual void SetSliderRange(LevelSlider slider, int min, int max) = 0;
  virtual void SetSliderPosition(LevelSlider slider, int position) = 0;
  virtual int SliderPosition(LevelSlider slider) const = 0;
};

}  // namespace setup
