#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "manager/setup/dialog/card_system.h"

class QWidget;

namespace setup {

// What the setup dialog needs from the window that opens it. The manager window implements
// StopPlaybackAndClearList; the rest has working defaults that tests replace.
class SetupHost {
 public:
  SetupHost();
  virtual ~SetupHost();

  // Before the card is formatted: stop both channels, release their files and graphs, and
  // empty the recording list, so that nothing on the card stays open.
  virtual void StopPlaybackAndClearList() = 0;

  // The folder browser of the card-folder chooser, opened at `initial_folder`: the chosen
  // folder, or nothing when the user cancels. The default is the desktop's folder dialog.
  virtual std::optional<QString> BrowseForCardFolder(QWidget* parent, const QString& title,
                                                     const QString& initial_folder);

  // Where the chooser remembers the last card folder: TempMS.ini in the user's config folder (an
  // old one in the working folder is taken over the first time).
  virtual std::filesystem::path TempMsFilePath() const;

  // Mounts, devices and programs for the card format: the running Linux system by default.
  virtual CardSystem& Card();

 private:
  std::unique_ptr<CardSystem> card_;
};

}  // namespace setup
