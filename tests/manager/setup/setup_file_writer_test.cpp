#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "manager/setup/device_settings.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Golden(std::string_view name) { return ReadFile(std::filesystem::path(SETUP_GOLDEN_DIR) / name); }

struct Selection {
  int quality, frame_rate, audio, time_zone;
  bool dst;
  int input_volume, output_volume;
  int x, y, z, park_x, park_y, park_z;
  int brightness, sharpness, tv_out;
};

MemorySetupControls ControlsWith(const Profile& profile, const Selection& s) {
  MemorySetupControls controls(profile);
  ApplyDefaults(profile, controls);
  controls.SelectIndex(SetupList::Quality, s.quality);
  controls.SelectIndex(SetupList::FrameRate, s.frame_rate);
  controls.SelectIndex(SetupList::Audio, s.audio);
  controls.SelectIndex(SetupList::TimeZone, s.time_zone);
  controls.SetDstChecked(s.dst);
  controls.SelectIndex(SetupList::InputVolume, s.input_volume);
  controls.SelectIndex(SetupList::OutputVolume, s.output_volume);
  controls.SetSliderPosition(LevelSlider::X, s.x);
  controls.SetSliderPosition(LevelSlider::Y, s.y);
  controls.SetSliderPosition(LevelSlider::Z, s.z);
  controls.SetSliderRange(LevelSlider::ParkX, 0, 20);
  controls.SetSliderRange(LevelSlider::ParkY, 0, 20);
  controls.SetSliderRange(LevelSlider::ParkZ, 0, 20);
  controls.SetSliderPosition(LevelSlider::ParkX, s.park_x);
  controls.SetSliderPosition(LevelSlider::ParkY, s.park_y);
  controls.SetSliderPosition(LevelSlider::ParkZ, s.park_z);
  controls.SelectIndex(SetupList::Brightness, s.brightness);
  controls.SelectIndex(SetupList::Sharpness, s.sharpness);
  controls.SelectIndex(SetupList::TVOut, s.tv_out);
  return controls;
}

// The golden files were typed by hand from the camera's line tables, for the selections below.
TEST(ApplyText, MatchesTheCameraFormatByteForByte) {
  EXPECT_EQ(ApplyText(kDualProfile, ControlsWith(kDualProfile, {1, 0, 0, 30, true, 3, 7, 18, 0, 20, 0, 0, 0, 6, 2, 0})),
            Golden("dual_apply.ini"));
  EXPECT_EQ(
      ApplyText(kParkProfile, ControlsWith(kParkProfile, {1, 1, 1, 0, false, 7, 7, 18, 20, 0, 5, 11, 3, 7, 7, 1})),
      Golden("park_apply.ini"));
  EXPECT_EQ(
      ApplyText(kBrandProfile, ControlsWith(kBrandProfile, {0, 2, 1, 83, true, 10, 0, 7, 18, 20, 0, 0, 0, 9, 0, 0})),
      Golden("brand_apply.ini"));
}

TEST(FactoryText, MatchesTheCameraFormatByteForByte) {
  EXPECT_EQ(FactoryText(kDualProfile, DefaultSettings(kDualProfile, false)), Golden("dual_factory.ini"));
  EXPECT_EQ(FactoryText(kParkProfile, DefaultSettings(kParkProfile, false)), Golden("park_factory.ini"));
  EXPECT_EQ(FactoryText(kBrandProfile, DefaultSettings(kBrandProfile, true)), Golden("brand_factory.ini"));
}

// A Setup.ini of another profile or a damaged one: the camera cannot use -1, so every list
// falls back to the profile's default, on the dialog and in the file.
TEST(ApplyText, AListWithNoUsableValueWritesTheProfilesDefault) {
  struct Case {
    const setup::Profile* profile;
    const char* stored;
    const char* written;
  };
  const std::vector<Case> cases = {
      {&kDualProfile, "Quality = 7 ;\r\nTimeZone = 84 ;\r\n", "Quality         = 2 ;\r\n"},
      {&kDualProfile, "Quality = 7 ;\r\nTimeZone = 84 ;\r\n", "TimeZone        = 71 ;\r\n"},
      {&kParkProfile, "Quality = 2 ;\r\n", "Quality         = 0 ;\r\n"},  // the dual camera's High
      {&kDualProfile, "Quality = -1 ;\r\n", "Quality         = 2 ;\r\n"},
  };
  for (const Case& c : cases) {
    MemorySetupControls controls(*c.profile);
    ReadSetupText(*c.profile, c.stored, controls);
    EXPECT_NE(controls.SelectedIndex(SetupList::Quality), -1) << c.stored;
    const std::string text = ApplyText(*c.profile, controls);
    EXPECT_NE(text.find(c.written), std::string::npos) << c.stored << " -> " << c.written;
    EXPECT_EQ(text.find("-1"), std::string::npos) << c.stored;
  }
  // Controls never read from a file (nothing selected) write the defaults too.
  EXPECT_NE(ApplyText(kDualProfile, MemorySetupControls(kDualProfile)).find("Quality         = 2 ;"),
            std::string::npos);
}

TEST(ApplyText, LevelEditBeyondTheSliderWritesTheSlidersEnd) {
  // The dual level edit accepts 25, but the slider stops at 20: 1.00 G.
  MemorySetupControls controls(kDualProfile);
  ApplyDefaults(kDualProfile, controls);
  controls.SetSliderPosition(LevelSlider::X, 25);
  EXPECT_NE(ApplyText(kDualProfile, controls).find("TriggerLevelX    = 1.00 ;\r\n"), std::string::npos);
}

class WriterRoundTrip : public testing::TestWithParam<const Profile*> {};

TEST_P(WriterRoundTrip, ApplyThenReadGivesTheSameControls) {
  const Profile& profile = *GetParam();
  TempDir dir;
  const auto path = dir / "SETUP/Setup.ini";
  std::filesystem::create_directories(path.parent_path());
  const MemorySetupControls written = ControlsWith(profile, {1, 1, 0, 45, true, 2, 6, 3, 17, 20, 9, 1, 12, 8, 5, 1});
  ASSERT_EQ(WriteApplyFile(profile, path, written), common::CardWrite::kWritten);

  MemorySetupControls read(profile);
  ASSERT_EQ(ReadSetupFile(profile, path, read), SetupReadResult::Read);
  for (SetupList list :
       {SetupList::Quality, SetupList::FrameRate, SetupList::Audio, SetupList::TimeZone, SetupList::TVOut}) {
    EXPECT_EQ(read.SelectedIndex(list), written.SelectedIndex(list)) << static_cast<int>(list);
  }
  EXPECT_TRUE(read.DstChecked());
  for (LevelSlider slider : {LevelSlider::X, LevelSlider::Y, LevelSlider::Z}) {
    EXPECT_EQ(read.SliderPosition(slider), written.SliderPosition(slider)) << static_cast<int>(slider);
  }
  if (profile.has_parking_sensitivity) {
    EXPECT_EQ(read.SliderPosition(LevelSlider::ParkX), 9);
    EXPECT_EQ(read.SliderPosition(LevelSlider::ParkY), 1);
    EXPECT_EQ(read.SliderPosition(LevelSlider::ParkZ), 12);
    // The park camera has no volume or picture controls: Apply writes 1 and 1 comes back.
    for (SetupList list :
         {SetupList::InputVolume, SetupList::OutputVolume, SetupList::Brightness, SetupList::Sharpness}) {
      EXPECT_EQ(read.SelectedIndex(list), 1);
    }
  } else {
    for (SetupList list :
         {SetupList::InputVolume, SetupList::OutputVolume, SetupList::Brightness, SetupList::Sharpness}) {
      EXPECT_EQ(read.SelectedIndex(list), written.SelectedIndex(list)) << static_cast<int>(list);
    }
  }
}

TEST_P(WriterRoundTrip, FactorySettingReadsBackTheDefaults) {
  const Profile& profile = *GetParam();
  TempDir dir;
  const auto path = dir / "SETUP/Setup.ini";  // SETUP does not exist yet: it is created
  MemorySetupControls controls(profile);
  controls.SetDstChecked(true);
  controls.SelectIndex(SetupList::Quality, 1);
  int messages = 0;
  ASSERT_EQ(RunFactorySetting(profile, path, controls, [&] { ++messages; }), common::CardWrite::kWritten);
  EXPECT_EQ(messages, 1);
  EXPECT_EQ(ReadFile(path), FactoryText(profile, DefaultSettings(profile, true)));

  MemorySetupControls defaults(profile);
  ApplyDefaults(profile, defaults);
  for (int list = 0; list <= static_cast<int>(SetupList::TVOut); ++list) {
    EXPECT_EQ(controls.SelectedIndex(SetupList(list)), defaults.SelectedIndex(SetupList(list))) << list;
  }
  for (LevelSlider slider : {LevelSlider::X, LevelSlider::Y, LevelSlider::Z}) {
    EXPECT_EQ(controls.SliderPosition(slider), defaults.SliderPosition(slider));
  }
  EXPECT_TRUE(controls.DstChecked());
}

INSTANTIATE_TEST_SUITE_P(Profiles, WriterRoundTrip, testing::Values(&kDualProfile, &kParkProfile, &kBrandProfile),
                         [](const auto& test) { return std::string(test.param->name); });

TEST(SetupFileWriting, FailedWritesLeaveTheOldFileAndNoLeftovers) {
  TempDir dir;
  // Factory Setting creates one folder level only; a missing card folder is a failed write.
  const auto unreachable = dir / "no-card/SETUP/Setup.ini";
  MemorySetupControls controls(kDualProfile);
  int messages = 0;
  EXPECT_EQ(RunFactorySetting(kDualProfile, unreachable, controls, [&] { ++messages; }), common::CardWrite::kFailed);
  EXPECT_EQ(messages, 0);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), 2);  // read back: the defaults

  // A Setup.ini that cannot be replaced (here a folder of that name) stays as it was.
  const auto blocked = dir / "SETUP/Setup.ini";
  std::filesystem::create_directories(blocked);
  WriteFile(blocked / "keep", "x");
  EXPECT_EQ(WriteApplyFile(kDualProfile, blocked, controls), common::CardWrite::kFailed);
  EXPECT_EQ(ReadFile(blocked / "keep"), "x");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "SETUP"), {}), 1);

  // Apply never creates the SETUP folder.
  EXPECT_EQ(WriteApplyFile(kDualProfile, dir / "other/SETUP/Setup.ini", controls), common::CardWrite::kFailed);
}

TEST(SetupFileWriting, ReplacesAnOldFileWhole) {
  TempDir dir;
  const auto path = dir / "SETUP/Setup.ini";
  WriteFile(path, std::string(4096, 'x'));
  MemorySetupControls controls(kBrandProfile);
  ApplyDefaults(kBrandProfile, controls);
  ASSERT_EQ(WriteApplyFile(kBrandProfile, path, controls), common::CardWrite::kWritten);
  EXPECT_EQ(ReadFile(path), ApplyText(kBrandProfile, controls));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "SETUP"), {}), 1);
}

}  // namespace
}  // namespace setup
