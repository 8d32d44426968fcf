#include "manager/setup/dialog/card_folder_chooser.h"

#include <QDir>
#include <QFileInfo>

#include "manager/setup/dialog/dialog_text.h"
#include "manager/setup/dialog/setup_host.h"
#include "manager/setup/settings_path.h"
#include "manager/setup/setup_texts.h"
#include "manager/setup/temp_ms_file.h"

namespace setup {

std::string DefaultCardFolder() {
  const QString user = qEnvironmentVariable("USER");
  for (const QString& folder : {"/media/" + user, "/run/media/" + user, QString("/media")}) {
    if (QFileInfo(folder).isDir()) return folder.toStdString();
  }
  return QDir::homePath().toStdString();
}

std::optional<std::string> ChooseCardFolder(SetupHost& host, QWidget* parent) {
  const std::string initial = ReadTempMsFile(host.TempMsFilePath()).value_or(DefaultCardFolder());
  const QString title = DialogText(texts::kSelectSdCard);
  const std::optional<QString> chosen = host.BrowseForCardFolder(parent, title, QString::fromStdString(initial));
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  const std::string folder = chosen->toStdString();
  WriteTempMsFile(host.TempMsFilePath(), folder);  // a folder that cannot be remembered is no reason to stop
  return CardFolderFromChoice(folder);
}

}  // namespace setup
