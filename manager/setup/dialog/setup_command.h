#pragma once

#include <QString>

class QWidget;

namespace setup {

struct Profile;
class CSetupDlg;
class SetupHost;

// The main window's setup command (1125): asks for the card folder, then runs the setup dialog
// of `profile` modally over `parent`. Returns when the dialog has ended; nothing is shown when
// no folder was chosen, and only the message when the folder holds no SETUP folder.
void RunSetupCommand(const Profile& profile, SetupHost& host, QWidget* parent);

// --open-setup CARD: opens the dialog on `card_folder` as if the chooser had returned it, and
// shows it window-modal without waiting (so a scripted run can grab it and read its State()).
// The dialog deletes itself when it ends. nullptr when it ended at once (no SETUP folder: the
// message has been shown).
CSetupDlg* OpenSetupDialog(const Profile& profile, SetupHost& host, const QString& card_folder, QWidget* parent);

}  // namespace setup
