// The snapshot, print and setup commands of the main window, and the dialogs they open.
#include "manager/app/manager_window.h"
#include "manager/display/video_widget.h"
#include "manager/setup/dialog/setup_command.h"
#include "manager/setup/dialog/setup_dialog.h"

namespace app {

using namespace display;

output::FrameOutputContext ManagerWindow::FrameOutput() {
  output::FrameOutputContext context;
  context.profile = &profile_;
  context.window = this;
  for (int channel = 0; channel < static_cast<int>(channels_.size()); ++channel) {
    if (VideoWidget* window = VideoWindow(channel)) context.channels[channel] = &window->video();
  }
  context.largeWindowChannel = LargeWindowChannel();
  context.recordingPath = currentRecording();
  context.sensorRecord = &sensor_;
  context.position = currentPosition();
  context.speedKnots = panelFix_.speed;
  // The dialogs are modal and the timers go on: a recording may end and the next one open, or
  // a stop may come, while the user chooses.
  context.playState = [this] { return static_cast<int>(playState()); };
  context.chooseSnapshotPath = dialogs_.snapshotPath;
  context.choosePrinter = dialogs_.printer;
  return context;
}

void ManagerWindow::OnSnapshotCommand() { output::TakeSnapshot(FrameOutput()); }

void ManagerWindow::OnPrintCommand() { output::PrintFrame(FrameOutput()); }

void ManagerWindow::OnSetupCommand() { setup::RunSetupCommand(profile_, *this, this); }

setup::CSetupDlg* ManagerWindow::OpenSetup(const QString& cardFolder) {
  if (setupDialog_ != nullptr) return nullptr;  // one setup dialog at a time
  setupDialog_ = setup::OpenSetupDialog(profile_, *this, cardFolder, this);
  return setupDialog_;
}

setup::CSetupDlg* ManagerWindow::setupDialog() const { return setupDialog_; }

std::optional<QString> ManagerWindow::BrowseForCardFolder(QWidget* parent, const QString& title,
                                                          const QString& initialFolder) {
  if (dialogs_.cardFolder) return dialogs_.cardFolder(parent, title, initialFolder);
  return SetupHost::BrowseForCardFolder(parent, title, initialFolder);
}

setup::CardSystem& ManagerWindow::Card() {
  return dialogs_.cardSystem != nullptr ? *dialogs_.cardSystem : SetupHost::Card();
}

}  // namespace app
