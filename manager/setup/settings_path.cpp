#include "manager/setup/settings_path.h"

#include "common/path_text.h"

namespace setup {

std::string CardFolderFromChoice(std::string_view chosen) { return common::WithTrailingSeparator(chosen); }

std::string SettingsFolder(std::string_view card_folder) { return common::JoinPath(card_folder, "SETUP"); }

std::string SettingsFilePath(std::string_view card_folder) {
  return common::JoinPath(SettingsFolder(card_folder), "Setup.ini");
}

}  // namespace setup
