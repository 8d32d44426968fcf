#include "manager/setup/dialog/setup_host.h"

#include <QFileDialog>

#include "common/user_config.h"
#include "manager/setup/dialog/linux_card_system.h"
#include "manager/setup/temp_ms_file.h"

namespace setup {

SetupHost::SetupHost() = default;
SetupHost::~SetupHost() = default;

std::optional<QString> SetupHost::BrowseForCardFolder(QWidget* parent, const QString& title,
                                                      const QString& initial_folder) {
  const QString folder = QFileDialog::getExistingDirectory(parent, title, initial_folder, QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

std::filesystem::path SetupHost::TempMsFilePath() const {
  std::filesystem::path file = common::UserConfigFile(kTempMsFileName);
  common::AdoptOldFile(file, std::filesystem::path(kTempMsFileName), kTempMsMaxBytes);
  return file;
}

CardSystem& SetupHost::Card() {
  if (!card_) card_ = std::make_unique<LinuxCardSystem>();
  return *card_;
}

}  // namespace setup
