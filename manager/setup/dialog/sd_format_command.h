#pragma once

#include <string>

#include "manager/setup/dialog/card_formatter.h"

class QWidget;

namespace setup {

class SetupHost;

// How the format command ended, for the tests.
struct SdFormatRun {
  enum class End { Cancelled, ChooserCancelled, Refused, Formatted, Failed };
  End end = End::Cancelled;
  CardFormatPlan plan;
  CardFormatOutcome outcome;
};

// "SD format" of the setup dialog opened on `card_folder`: the warning with OK and Cancel, the
// card-folder chooser again, the host stops playback and clears its list, the chosen folder is
// checked (it must be the card the dialog was opened on, a removable FAT card mounted exactly
// there), then the card is unmounted, formatted and mounted again under the wait cursor, and
// the result is shown. Every message box goes through gui::ShowMessage.
SdFormatRun RunSdFormat(QWidget* dialog, SetupHost& host, const std::string& card_folder);

}  // namespace setup
