#pragma once

#include <string>
#include <string_view>

namespace setup {

// The card folder as the dialog keeps it: the chosen folder with a separator at the end. A
// drive root ("E:\", "/") already ends in one and gets none added. The separator follows the
// path's own style, so Windows-style examples keep their backslashes.
std::string CardFolderFromChoice(std::string_view chosen);

// The folder that holds the settings file: the card folder followed by "SETUP".
std::string SettingsFolder(std::string_view card_folder);

// The settings file: SETUP, a separator and "Setup.ini" below the card folder.
std::string SettingsFilePath(std::string_view card_folder);

}  // namespace setup
