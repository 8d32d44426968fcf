#include <gtest/gtest.h>

#include <string>

#include "manager/setup/camera_time_zones.h"
#include "manager/setup/level_strings.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_lists.h"

namespace setup {
namespace {

bool HasKey(const Profile& profile, std::string_view key) {
  for (const ListEntry& entry : profile.setup_texts) {
    if (entry.key == key) return true;
  }
  return false;
}

TEST(Profiles, AreFoundByName) {
  EXPECT_EQ(FindProfile("dual"), &kDualProfile);
  EXPECT_EQ(FindProfile("park"), &kParkProfile);
  EXPECT_EQ(FindProfile("brand"), &kBrandProfile);
  EXPECT_EQ(FindProfile("Dual"), nullptr);
  EXPECT_EQ(FindProfile(""), nullptr);
}

TEST(Profiles, VersionLabels) {
  EXPECT_EQ(VersionLabelDefault(kDualProfile), "Ver. 2.2.5.5");
  EXPECT_EQ(VersionLabelDefault(kParkProfile), "J8 Manager 1.2.1.4");
  EXPECT_EQ(VersionLabelDefault(kBrandProfile), "Ver. 1.2.5.4");
}

TEST(Profiles, LevelStringsDifferInTheirShortForms) {
  EXPECT_EQ(LevelString(kDualProfile, 18), "0.90");
  EXPECT_EQ(LevelString(kParkProfile, 18), "0.9");
  EXPECT_EQ(LevelString(kBrandProfile, 18), "0.9");
  EXPECT_EQ(LevelString(kDualProfile, 0), "0.00");
  EXPECT_EQ(LevelString(kBrandProfile, 0), "0.0");
  EXPECT_EQ(LevelString(kBrandProfile, 20), "1.0");
  EXPECT_EQ(LevelString(kDualProfile, 30), "1.50");
  EXPECT_EQ(kDualProfile.level_strings.size(), 31u);
  EXPECT_EQ(kParkProfile.level_strings.size(), 21u);
  // Every level string stands for n x 0.05 G.
  for (const Profile* profile : {&kDualProfile, &kParkProfile}) {
    for (std::size_t n = 0; n < profile->level_strings.size(); ++n) {
      EXPECT_NEAR(std::stod(std::string(profile->level_strings[n])), 0.05 * static_cast<double>(n), 1e-9);
    }
  }
  // Outside the table the nearest end is taken rather than reading past it.
  EXPECT_EQ(LevelString(kParkProfile, 25), "1.0");
  EXPECT_EQ(LevelString(kDualProfile, -1), "0.00");
}

TEST(Profiles, DefaultsDifferWhereTheParkCameraDiffers) {
  DeviceSettings dual = DefaultSettings(kDualProfile, false);
  const DeviceSettings park = DefaultSettings(kParkProfile, false);
  EXPECT_EQ(DefaultSettings(kBrandProfile, false), dual);
  EXPECT_EQ(DefaultSettings(kDualProfile, true).DST, 1);
  // Changing the fields the table names turns the dual defaults into the park ones.
  dual.Quality = 0;
  dual.FrameRate = 0;
  dual.InputVolume = dual.OutputVolume = 1;
  dual.TriggerLevelX = dual.TriggerLevelY = dual.TriggerLevelZ = 10;
  dual.ParkTriggerLevelX = dual.ParkTriggerLevelY = dual.ParkTriggerLevelZ = 8;
  dual.Brightness = dual.Sharpness = 1;
  EXPECT_EQ(dual, park);
}

TEST(Profiles, ListsFollowTheProfile) {
  EXPECT_EQ(ListTexts(kDualProfile, SetupList::Quality), (std::vector<std::string>{"Low", "Normal", "High"}));
  EXPECT_EQ(ListTexts(kBrandProfile, SetupList::FrameRate), (std::vector<std::string>{"Low", "Medium", "High"}));
  EXPECT_EQ(ListTexts(kParkProfile, SetupList::Quality), (std::vector<std::string>{"720P", "VGA"}));
  EXPECT_EQ(ListTexts(kParkProfile, SetupList::FrameRate), (std::vector<std::string>{"30fps", "15fps"}));
  EXPECT_EQ(ListTexts(kParkProfile, SetupList::TVOut), (std::vector<std::string>{"NTSC", "PAL"}));
  EXPECT_TRUE(ListTexts(kDualProfile, SetupList::TVOut).empty());
  EXPECT_EQ(ListTexts(kDualProfile, SetupList::InputVolume).size(), 11u);
  EXPECT_EQ(ListTexts(kDualProfile, SetupList::Sharpness).back(), "9");

  // Keyed entries go through the language table; numbers and time zones do not.
  const TextLookup upper = [](std::string_view key, std::string_view) { return "<" + std::string(key) + ">"; };
  EXPECT_EQ(ListTexts(kDualProfile, SetupList::Audio, upper), (std::vector<std::string>{"<OFF>", "<ON>"}));
  EXPECT_EQ(ListTexts(kDualProfile, SetupList::OutputVolume, upper).front(), "0");
  EXPECT_EQ(ListTexts(kDualProfile, SetupList::TimeZone, upper)[71], "(GMT +09:00) Seoul");

  EXPECT_TRUE(ListVisible(kDualProfile, SetupList::OutputVolume));
  EXPECT_FALSE(ListVisible(kDualProfile, SetupList::InputVolume));
  EXPECT_FALSE(ListVisible(kParkProfile, SetupList::OutputVolume));
  EXPECT_TRUE(ListVisible(kParkProfile, SetupList::TVOut));
}

TEST(Profiles, SetupKeySetsDiffer) {
  for (std::string_view key : {"1LEVEL", "NORMAL2", "VERY_SLOW", "ERROR_NOT_SELECT", "FACTORY_SETTING_SUCCEED"}) {
    EXPECT_TRUE(HasKey(kDualProfile, key)) << key;
    EXPECT_TRUE(HasKey(kBrandProfile, key)) << key;
  }
  for (std::string_view key : {"1LEVEL", "2LEVEL", "3LEVEL", "HIGH", "LOW", "NORMAL", "NORMAL2", "SLOW", "VERY_SLOW"}) {
    EXPECT_FALSE(HasKey(kParkProfile, key)) << key;
  }
  for (std::string_view key : {"15FPS", "30FPS", "720P", "VGA", "ACCELEROMETER_PARK", "AVOut", "NTSC", "PAL",
                               "SENSOR_HIGH", "SENSOR_LOW", "ERROR_NOT_SELECT"}) {
    EXPECT_TRUE(HasKey(kParkProfile, key)) << key;
    if (key != "ERROR_NOT_SELECT") {
      EXPECT_FALSE(HasKey(kDualProfile, key)) << key;
    }
  }
  EXPECT_EQ(kDualProfile.setup_texts.size(), 36u);
  EXPECT_EQ(kParkProfile.setup_texts.size(), 37u);
}

TEST(CameraTimeZones, KeepTheCamerasTextsExactly) {
  ASSERT_EQ(kCameraTimeZones.size(), 84u);
  EXPECT_EQ(kCameraTimeZones[0], "(GMT -12:00) International Date Line West");
  EXPECT_EQ(kCameraTimeZones[12], "(GMT -06:00) Guadalajara, Mexico City, Monterrey - Old ");
  EXPECT_EQ(kCameraTimeZones[14], "(GMT -05:00) Bogota, Lima, Quito, Rio Branco ");
  EXPECT_EQ(kCameraTimeZones[71], "(GMT +09:00) Seoul");
  EXPECT_EQ(kCameraTimeZones[76], "(GMT +10:00) Canberra, Melbourne, Sydney ");
  EXPECT_EQ(kCameraTimeZones[83], "(GMT +13:00) Nuku'alofa");
  int trailing_blanks = 0;
  for (std::string_view zone : kCameraTimeZones) {
    EXPECT_TRUE(zone.starts_with("(GMT")) << zone;
    trailing_blanks += zone.ends_with(' ');
  }
  EXPECT_EQ(trailing_blanks, 3);
}

TEST(MemorySetupControls, BehaveLikeTheDialogsControls) {
  MemorySetupControls controls(kDualProfile);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), -1);  // nothing selected at first
  controls.SelectIndex(SetupList::Quality, 2);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), 2);
  controls.SelectIndex(SetupList::Quality, 3);
  EXPECT_EQ(controls.SelectedIndex(SetupList::Quality), -1);
  controls.SelectIndex(SetupList::TVOut, 0);  // the dual dialog has no AV-out list
  EXPECT_EQ(controls.SelectedIndex(SetupList::TVOut), -1);

  controls.SetSliderPosition(LevelSlider::X, 60);  // initial range 0..100
  EXPECT_EQ(controls.SliderPosition(LevelSlider::X), 60);
  controls.SetSliderRange(LevelSlider::X, 0, 20);  // a new range pulls the position in
  EXPECT_EQ(controls.SliderPosition(LevelSlider::X), 20);
  controls.SetSliderPosition(LevelSlider::X, -4);
  EXPECT_EQ(controls.SliderPosition(LevelSlider::X), 0);
}

}  // namespace
}  // namespace setup
