#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "common/atomic_file.h"

#include "manager/setup/device_settings.h"
#include "manager/setup/setup_controls.h"

namespace setup {

struct Profile;

// The bytes of Setup.ini that Apply writes from the dialog's controls: CR LF line ends, ASCII,
// the camera's exact spacing.
std::string ApplyText(const Profile& profile, const SetupControls& controls);

// The bytes that Factory Setting writes from a settings record. Its spacing differs from
// ApplyText in a few lines; the camera accepts both.
std::string FactoryText(const Profile& profile, const DeviceSettings& settings);

// `path` is the card's settings file (SettingsFilePath): it lies in SETUP below the card folder,
// and is written as a card file there (never through a link, never off the card).

// Replaces Setup.ini with ApplyText. The old file stays whole when the write fails.
common::CardWrite WriteApplyFile(const Profile& profile, const std::filesystem::path& path,
                                 const SetupControls& controls);

// Creates the file's folder (one level; an existing one is fine) and replaces Setup.ini with
// FactoryText. The old file stays whole when the write fails.
common::CardWrite WriteFactoryFile(const Profile& profile, const std::filesystem::path& path,
                                   const DeviceSettings& settings);

// The dialog's Factory Setting: writes the profile's defaults (DST from the check box), calls
// `on_written` when that worked (the dialog shows FACTORY_SETTING_SUCCEED there) and then reads
// the file back into the controls either way. Returns how the write went.
common::CardWrite RunFactorySetting(const Profile& profile, const std::filesystem::path& path, SetupControls& controls,
                                    const std::function<void()>& on_written = {});

}  // namespace setup
