#include "manager/setup/dialog/setup_command.h"

#include "manager/setup/dialog/setup_dialog.h"

namespace setup {

void RunSetupCommand(const Profile& profile, SetupHost& host, QWidget* parent) {
  CSetupDlg dialog(profile, host, parent);
  if (!dialog.Open()) return;
  dialog.exec();
}

CSetupDlg* OpenSetupDialog(const Profile& profile, SetupHost& host, const QString& card_folder, QWidget* parent) {
  auto* dialog = new CSetupDlg(profile, host, parent);
  if (!dialog->OpenOn(card_folder.toStdString())) {
    delete dialog;
    return nullptr;
  }
  QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
  dialog->open();
  return dialog;
}

}  // namespace setup
