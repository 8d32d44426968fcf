#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "manager/incident/incident_export.h"

class QWidget;

namespace app {

class ManagerWindow;

// The folder proposed for the incident of `recording` at `position` (100 ns units) inside
// `parent`: "incident_" and the recording's name time moved on by the position, as
// YYYYMMDD_HHMMSS; the recording's own name when its name carries no time.
QString IncidentFolderName(const std::string& recording, std::int64_t position);

// "Export incident..." (the video windows' context menu and Ctrl+E) and the jump to the impact
// (key I) of the main window. The export runs on a worker thread behind a progress dialog
// whose Cancel leaves no folder; the end is told in a message naming the folder.
class IncidentAction : public QObject {
  Q_OBJECT
 public:
  // The folder to write, chosen by the user; empty when cancelled. `proposed` is a full path.
  using FolderChooser = std::function<QString(QWidget* parent, const QString& proposed)>;

  explicit IncidentAction(ManagerWindow& window);
  ~IncidentAction() override;

  // The command: asks for the folder, then exports the moment shown. Nothing while no recording
  // is open or an export runs.
  void OnExportCommand();
  // Exports the moment shown into `folder`, in the background; `replace` lets it take the place
  // of a folder that holds files. False when nothing is open or an export runs already.
  bool StartExport(const QString& folder, bool replace = false);
  bool running() const { return worker_.joinable(); }
  QProgressDialog* progressDialog() const { return progress_; }

  // Where the open recording's G-sensor record changes most (100 ns units); none without one.
  std::optional<std::int64_t> ImpactPosition() const;
  // Key I: plays on from the impact. False when there is none.
  bool SeekToImpact();

  FolderChooser chooseFolder;  // empty: the desktop's folder dialog

 signals:
  // After the message: Ok, or why not (cancelled, failed).
  void exportFinished(incident::ExportStatus status, const QString& folder);

 private:
  void OnProgress(double fraction, const QString& step);
  void OnDone(const incident::IncidentResult& result, const QString& folder);

  ManagerWindow& window_;
  std::atomic<bool> cancel_{false};
  std::thread worker_;
  QPointer<QProgressDialog> progress_;
};

}  // namespace app
