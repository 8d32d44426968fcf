#pragma once

#include <QPalette>
#include <QString>

namespace setup {

// The programs' dark colours for the setup dialogs: panels behind the controls, dark fields,
// light text, blue selection.
QPalette SetupDialogPalette();

// Group frames drawn the dialog way, the title set into the frame line, in the amber accent.
QString SetupDialogGroupStyleSheet();

}  // namespace setup
