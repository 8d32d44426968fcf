#pragma once

#include <optional>
#include <string>

class QWidget;

namespace setup {

class SetupHost;

// The card-folder chooser of the setup dialog and the format command: opens the host's folder
// browser at the folder remembered in TempMS.ini, stores the choice there as chosen, and returns
// it as the card folder (ending in a separator). Nothing when the user cancels or chooses nothing.
std::optional<std::string> ChooseCardFolder(SetupHost& host, QWidget* parent);

// Where the browser starts without a remembered folder: where the desktop mounts cards.
std::string DefaultCardFolder();

}  // namespace setup
