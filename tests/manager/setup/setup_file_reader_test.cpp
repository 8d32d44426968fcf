#include <gtest/gtest.h>

#include <string>

#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

MemorySetupControls Read(const Profile& profile, std::string_view text) {
  MemorySetupControls controls(profile);
  ReadSetupText(profile, text, controls);
  return controls;
}

void ExpectDefaults(const Profile& profile, const MemorySetupControls& controls) {
  MemorySetupControls defaults(profile);
  ApplyDefaults(profile, defaults);
  for (int list = 0; list <= static_cast<int>(SetupList::TVOut); ++list) {
    EXPECT_EQ(controls.SelectedIndex(SetupList(list)), defaults.SelectedIndex(SetupList(list))) << list;
  }
  for (int slider = 0; slider <= static_cast<int>(LevelSlider::ParkZ); ++slider) {
    EXPECT_EQ(controls.SliderPosition(LevelSlider(slider)), defaults.SliderPosition(LevelSlider(slider))) << slider;
  }
  EXPECT_EQ(controls.DstChecked(), defaults.DstChecked());
}

TEST(SetupReader, TextWithoutAssignmentsGivesTheDefaults) {
  const auto controls = Read(kDualProfile, "#\r\n# Varn Kel BlackBox Setting Information\r\n \r\n[RECORDER]\r\n");
  ExpectDefaults(kDualProfile, controls);
  EXPECT_EQ(controls.SelectedIndex(SetupList::TimeZone), 71);
  EXPECT_EQ(controls.SliderPosition(LevelSlider::Z), 7);
}

TEST(SetupReader, DefaultsDifferByProfile) {
  const auto park = Read(kParkProfile, "");
  EXPECT_EQ(park.SelectedIndex(SetupList::Quality), 0);
  EXPECT_EQ(park.SelectedIndex(SetupList::OutputVolume), 1);
  EXPECT_EQ(park.SelectedIndex(SetupList::TVOut), 0);
  EXPECT_EQ(park.SliderPosition(LevelSlider::X), 10);
  EXPECT_EQ(park.SliderPosition(LevelSlider::ParkZ), 8);
  const auto brand = Read(kBrandProfile, "");
  EXPECT_EQ(brand.SelectedIndex(SetupList::Quality), 2);
  EXPECT_EQ(brand.SelectedIndex(SetupList::OutputVolume), 9);
  EXPECT_EQ(brand.SelectedIndex(SetupList::TVOut), -1);  // no AV-out list
}

TEST(SetupReader, TriggerLevelsAreTwentyStepsPerG) {
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelX = 0.35 ;").SliderPosition(LevelSlider::X), 7);
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelX = 1.50 ;").SliderPosition(LevelSlider::X), 20);  // 30, clamped
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelX = abc ;").SliderPosition(LevelSlider::X), 0);
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelY = 0.9").SliderPosition(LevelSlider::Y), 18);
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelY = 0.07").SliderPosition(LevelSlider::Y), 1);  // truncated
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelZ = -3").SliderPosition(LevelSlider::Z), 0);
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelZ = 1e300").SliderPosition(LevelSlider::Z), 20);
  EXPECT_EQ(Read(kDualProfile, "TriggerLevelZ = nan").SliderPosition(LevelSlider::Z), 0);
}

TEST(SetupReader, DstFollowsAnyNonZeroValueAndSkipsEmptyValues) {
  EXPECT_TRUE(Read(kDualProfile, "DST = 2 ;").DstChecked());
  MemorySetupControls controls(kDualProfile);
  controls.SetDstChecked(true);
  ReadSetupText(kDualProfile, "DST = ;\r\n", controls);  // nothing but a semicolon: skipped
  EXPECT_TRUE(controls.DstChecked());
  ReadSetupText(kDualProfile, "DST        = 0 ;\r\n", controls);
  EXPECT_FALSE(controls.DstChecked());
}

TEST(SetupReader, OutOfRangeIndexFallsBackToTheDefault) {
  const auto controls = Read(kDualProfile, "Quality = 3 ;\r\nTimeZone = -1\r\nOutputVolume = 10\r\nBrightness = 10");
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), 2);
  EXPECT_EQ(controls.SelectedIndex(SetupList::TimeZone), 71);
  EXPECT_EQ(controls.SelectedIndex(SetupList::OutputVolume), 10);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Brightness), 4);
  EXPECT_EQ(Read(kDualProfile, "Quality = 99999999999999999999").SelectedIndex(SetupList::Quality), 2);
}

TEST(SetupReader, KeysAreExactButSectionsAndSpacingAreNot) {
  const auto controls = Read(kDualProfile,
                             "quality = 0 ;\r\n"           // other case: ignored
                             "# FrameRate = 1 ; note\r\n"  // a comment with "=" is a line like any other
                             "  Audio\t=\t0;;\r\n"
                             "[ANY]\r\nTimeZone=12\n"  // LF only, no spaces
                             "Sharpness       = 3");   // no line end
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), 2);
  EXPECT_EQ(controls.SelectedIndex(SetupList::FrameRate), 2);  // key "# FrameRate" is not FrameRate
  EXPECT_EQ(controls.SelectedIndex(SetupList::Audio), 0);
  EXPECT_EQ(controls.SelectedIndex(SetupList::TimeZone), 12);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Sharpness), 3);

  // The value runs from the first "=": "Brightness = = 5" has the value "= 5", read as 0.
  EXPECT_EQ(Read(kDualProfile, "Brightness = = 5").SelectedIndex(SetupList::Brightness), 0);
  EXPECT_EQ(Read(kDualProfile, "Quality = 1xyz").SelectedIndex(SetupList::Quality), 1);
}

TEST(SetupReader, ParkKeysAreReadByTheParkProfileOnly) {
  constexpr std::string_view kParkLines =
      "ParkTriggerLevelX    = 0.25 ;\r\nParkTriggerLevelY = 1.0\r\nParkTriggerLevelZ = 0.0\r\nTVOut = 1 ;\r\n";
  const auto park = Read(kParkProfile, kParkLines);
  EXPECT_EQ(park.SliderPosition(LevelSlider::ParkX), 5);
  EXPECT_EQ(park.SliderPosition(LevelSlider::ParkY), 20);
  EXPECT_EQ(park.SliderPosition(LevelSlider::ParkZ), 0);
  EXPECT_EQ(park.SelectedIndex(SetupList::TVOut), 1);

  ExpectDefaults(kDualProfile, Read(kDualProfile, kParkLines));
  ExpectDefaults(kBrandProfile, Read(kBrandProfile, kParkLines));
}

TEST(SetupReader, ReadingTheFileAppliesDefaultsFirst) {
  testing_support::TempDir dir;
  MemorySetupControls controls(kDualProfile);
  controls.SelectIndex(SetupList::Quality, 0);
  EXPECT_EQ(ReadSetupFile(kDualProfile, dir / "SETUP/Setup.ini", controls), SetupReadResult::Missing);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), 2);

  testing_support::WriteFile(dir / "SETUP/Setup.ini", "FrameRate = 0 ;\r\n");
  controls.SelectIndex(SetupList::Quality, 0);
  EXPECT_EQ(ReadSetupFile(kDualProfile, dir / "SETUP/Setup.ini", controls), SetupReadResult::Read);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), 2);
  EXPECT_EQ(controls.SelectedIndex(SetupList::FrameRate), 0);

  EXPECT_EQ(ReadSetupFile(kDualProfile, dir / "SETUP", controls), SetupReadResult::Unreadable);
}

}  // namespace
}  // namespace setup
