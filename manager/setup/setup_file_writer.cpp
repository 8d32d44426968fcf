#include "manager/setup/setup_file_writer.h"

#include <string_view>
#include <system_error>

#include "common/atomic_file.h"
#include "manager/setup/level_strings.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"

namespace setup {
namespace {

// Lines are built from a key already padded to the camera's column, then " = ".
class SetupText {
 public:
  void Line(std::string_view text) {
    text_ += text;
    text_ += "\r\n";
  }
  void Blank() { Line(" "); }
  void Value(std::string_view padded_key, std::string_view value, bool semicolon = true) {
    text_ += padded_key;
    text_ += "= ";
    text_ += value;
    if (semicolon) text_ += " ;";
    text_ += "\r\n";
  }
  void Value(std::string_view padded_key, int value, bool semicolon = true) {
    Value(padded_key, std::to_string(value), semicolon);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

void Header(SetupText& out, std::string_view header_line) {
  out.Line("#");
  out.Line(header_line);
  out.Line("#");
  out.Blank();
  out.Line("[RECORDER]");
  out.Blank();
}

}  // namespace

std::string ApplyText(const Profile& profile, const SetupControls& controls) {
  // The park camera has no volume or picture controls; it expects 1 in their keys.
  // A list with no selection writes the profile's default: -1 is no value the camera can use.
  const auto selected = [&](SetupList list) { return StoredListIndex(profile, list, controls.SelectedIndex(list)); };
  const auto hidden_or_selected = [&](SetupList list) {
    return profile.apply_hidden_value >= 0 ? profile.apply_hidden_value : selected(list);
  };
  const auto level = [&](LevelSlider slider) { return LevelString(profile, controls.SliderPosition(slider)); };

  SetupText out;
  Header(out, profile.apply_header_line);
  out.Value("Channel         ", 1);
  out.Value("Quality         ", selected(SetupList::Quality));
  out.Value("FrameRate       ", selected(SetupList::FrameRate));
  out.Value("Audio           ", selected(SetupList::Audio));
  out.Blank();
  out.Line("[MISC]");
  out.Blank();
  out.Line("[MISC.TIME]");
  out.Value("TimeZone        ", selected(SetupList::TimeZone));
  out.Value("DST        ", controls.DstChecked() ? 1 : 0);
  out.Blank();
  out.Line("[MISC.AUDIO]");
  out.Value("InputVolume     ", hidden_or_selected(SetupList::InputVolume));
  out.Value("OutputVolume    ", hidden_or_selected(SetupList::OutputVolume));
  out.Blank();
  out.Line("[MISC.ACCELEROMETER]");
  out.Value("TriggerMode     ", 1);
  out.Value("TriggerLevelX    ", level(LevelSlider::X));
  out.Value("TriggerLevelY    ", level(LevelSlider::Y));
  out.Value("TriggerLevelZ    ", level(LevelSlider::Z));
  if (profile.has_parking_sensitivity) {
    out.Value("ParkTriggerLevelX    ", level(LevelSlider::ParkX));
    out.Value("ParkTriggerLevelY    ", level(LevelSlider::ParkY));
    out.Value("ParkTriggerLevelZ    ", level(LevelSlider::ParkZ));
  }
  out.Value("RotationTrigger ", 1);
  out.Blank();
  out.Line("[MISC.CAMERA]");
  out.Value("Brightness      ", hidden_or_selected(SetupList::Brightness), false);
  out.Value("Sharpness       ", hidden_or_selected(SetupList::Sharpness), false);
  out.Blank();
  out.Line("[MISC.ETC]");
  out.Value("GPS            ", 1);
  if (profile.has_av_out()) out.Value("TVOut          ", selected(SetupList::TVOut));
  out.Blank();
  out.Blank();
  return out.Take();
}

std::string FactoryText(const Profile& profile, const DeviceSettings& settings) {
  const auto level = [&](int index) { return LevelString(profile, index); };

  SetupText out;
  Header(out, profile.factory_header_line);
  out.Value("Channel         ", settings.Channel);
  out.Value("Quality         ", settings.Quality);
  out.Value("FrameRate         ", settings.FrameRate);
  out.Value("Audio         ", settings.Audio);
  out.Blank();
  out.Line("[MISC]");
  out.Blank();
  out.Line("[MISC.TIME]");
  out.Value("TimeZone        ", settings.TimeZone);
  out.Value("DST        ", settings.DST);
  out.Blank();
  out.Line("[MISC.AUDIO]");
  out.Value("InputVolume     ", settings.InputVolume);
  out.Value("OutputVolume    ", settings.OutputVolume);
  out.Blank();
  out.Line("[MISC.ACCELEROMETER]");
  out.Value("TriggerMode     ", settings.TriggerMode);
  out.Value("TriggerLevelX    ", level(settings.TriggerLevelX));
  out.Value("TriggerLevelY    ", level(settings.TriggerLevelY));
  out.Value("TriggerLevelZ    ", level(settings.TriggerLevelZ));
  if (profile.has_parking_sensitivity) {
    out.Value("ParkTriggerLevelX    ", level(settings.ParkTriggerLevelX));
    out.Value("ParkTriggerLevelY    ", level(settings.ParkTriggerLevelY));
    out.Value("ParkTriggerLevelZ    ", level(settings.ParkTriggerLevelZ));
  }
  out.Value("RotationTrigger ", settings.RotationTrigger);
  out.Blank();
  out.Line("[MISC.CAMERA]");
  out.Value("Brightness      ", settings.Brightness);
  out.Value("Sharpness       ", settings.Sharpness);
  out.Blank();
  out.Line("[MISC.ETC]");
  out.Value("GPS            ", settings.GPS);
  if (profile.has_av_out()) out.Value("TVOut          ", settings.TVOut);
  out.Blank();
  out.Blank();
  return out.Take();
}

namespace {

// SETUP/Setup.ini: the card folder is two levels up.
std::filesystem::path CardOfSettingsFile(const std::filesystem::path& path) { return path.parent_path().parent_path(); }

}  // namespace

common::CardWrite WriteApplyFile(const Profile& profile, const std::filesystem::path& path,
                                 const SetupControls& controls) {
  return common::WriteCardFileAtomically(CardOfSettingsFile(path), path, ApplyText(profile, controls));
}

common::CardWrite WriteFactoryFile(const Profile& profile, const std::filesystem::path& path,
                                   const DeviceSettings& settings) {
  return common::WriteCardFileAtomically(CardOfSettingsFile(path), path, FactoryText(profile, settings),
                                         common::CardFolders::kCreate);
}

common::CardWrite RunFactorySetting(const Profile& profile, const std::filesystem::path& path, SetupControls& controls,
                                    const std::function<void()>& on_written) {
  const common::CardWrite written = WriteFactoryFile(profile, path, DefaultSettings(profile, controls.DstChecked()));
  if (written == common::CardWrite::kWritten && on_written) on_written();
  ReadSetupFile(profile, path, controls);
  return written;
}

}  // namespace setup
