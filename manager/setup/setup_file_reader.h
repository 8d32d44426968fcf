#pragma once

#include <filesystem>
#include <string_view>

#include "manager/setup/setup_controls.h"

namespace setup {

struct Profile;

// The index the profile selects in the list by default.
int DefaultListIndex(const Profile& profile, SetupList list);

// The index a stored value selects: the value when the list has such an entry, otherwise (a file
// of another profile, or a damaged one) the profile's default, so no list is left unselected.
int StoredListIndex(const Profile& profile, SetupList list, int stored);

// Puts the profile's defaults into the controls: every list selected from the defaults, each
// level slider set to 0..20 at its default. The DST box keeps its state, which is its default.
void ApplyDefaults(const Profile& profile, SetupControls& controls);

// Reads Setup.ini text into the controls after applying the defaults. Only the controls whose
// keys are found change; sections are not tracked and key case matters.
void ReadSetupText(const Profile& profile, std::string_view text, SetupControls& controls);

enum class SetupReadResult {
  Read,        // the file was read
  Missing,     // no such file: the controls hold the defaults
  Unreadable,  // the file is there but cannot be read: the controls hold the defaults
};

// ReadSetupText over a file, line by line.
SetupReadResult ReadSetupFile(const Profile& profile, const std::filesystem::path& path, SetupControls& controls);

}  // namespace setup
