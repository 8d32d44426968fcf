#include "manager/app/incident_action.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QProgressDialog>
#include <QShortcut>

#include <cstdio>
#include <ctime>

#include "common/gui/message_box.h"
#include "common/path_text.h"
#include "manager/app/manager_window.h"
#include "manager/display/video_widget.h"
#include "manager/incident/clip_plan.h"
#include "manager/language/lookup_text.h"
#include "manager/recording/impact.h"

namespace app {
namespace {

// The export's texts: keys of the language file with their English defaults.
constexpr language::TextKey kExportIncident{"EXPORT_INCIDENT", "Export incident..."};
constexpr language::TextKey kExportTitle{"EXPORT_INCIDENT_TITLE", "Export incident"};
constexpr language::TextKey kFolderTitle{"INCIDENT_FOLDER", "Folder for the incident"};
constexpr language::TextKey kReplace{"INCIDENT_REPLACE",
                                     "The folder already holds files. Replace them with the incident?"};
constexpr language::TextKey kExporting{"INCIDENT_EXPORTING", "Exporting the incident..."};
constexpr language::TextKey kCancel{"CANCEL", "Cancel"};
constexpr language::TextKey kCancelling{"INCIDENT_CANCELLING", "Cancelling..."};
constexpr language::TextKey kExported{"INCIDENT_EXPORTED", "The incident was exported to the folder:"};
constexpr language::TextKey kNotExported{"INCIDENT_NOT_EXPORTED", "The incident could not be exported:"};

QString Text(const language::TextKey& key) { return QString::fromStdString(language::LookupText(key)); }

QString DefaultChooser(QWidget* parent, const QString& proposed) {
  return QFileDialog::getSaveFileName(parent, Text(kFolderTitle), proposed, QString(), nullptr,
                                      QFileDialog::ShowDirsOnly);
}

}  // namespace

QString IncidentFolderName(const std::string& recording, std::int64_t position) {
  const auto start = incident::NameStartTime(recording);
  if (!start) return QStringLiteral("incident_") + QFileInfo(QString::fromStdString(recording)).completeBaseName();
  const std::time_t moment = *start + static_cast<std::time_t>(position / incident::kUnitsPerSecond);
  std::tm fields{};
  ::gmtime_r(&moment, &fields);
  char text[32];
  std::strftime(text, sizeof text, "incident_%Y%m%d_%H%M%S", &fields);
  return QString::fromLatin1(text);
}

IncidentAction::IncidentAction(ManagerWindow& window) : QObject(&window), window_(window) {
  setObjectName(QStringLiteral("IncidentAction"));
  auto* exportKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &window);
  connect(exportKey, &QShortcut::activated, this, &IncidentAction::OnExportCommand);
  auto* impactKey = new QShortcut(QKeySequence(Qt::Key_I), &window);
  connect(impactKey, &QShortcut::activated, this, &IncidentAction::SeekToImpact);
  for (int channel = 0; channel < 2; ++channel) {
    display::VideoWidget* video = window.VideoWindow(channel);
    if (video == nullptr) continue;
    video->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(video, &QWidget::customContextMenuRequested, this, [this, video](const QPoint& at) {
      QMenu menu(video);
      menu.setObjectName(QStringLiteral("IncidentMenu"));
      QAction* item = menu.addAction(Text(kExportIncident));
      item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
      item->setEnabled(window_.playState() != kStopped && !running());
      if (menu.exec(video->mapToGlobal(at)) == item) OnExportCommand();
    });
  }
}

IncidentAction::~IncidentAction() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void IncidentAction::OnExportCommand() {
  if (window_.playState() == kStopped || running()) return;
  const std::int64_t position = window_.currentPosition();
  const QString proposed = QDir(QDir::homePath()).filePath(IncidentFolderName(window_.currentRecording(), position));
  const QString folder = chooseFolder ? chooseFolder(&window_, proposed) : DefaultChooser(&window_, proposed);
  if (folder.isEmpty()) return;  // nothing chosen
  // The dialog may return a folder that holds files: those are replaced only when the user says so.
  const QDir chosen(folder);
  const bool holdsFiles = chosen.exists() && !chosen.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  if (holdsFiles &&
      gui::ShowMessage(&window_, Text(kReplace) + "\n" + folder, Text(kExportTitle), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  StartExport(folder, holdsFiles);
}

bool IncidentAction::StartExport(const QString& folder, bool replace) {
  if (window_.playState() == kStopped || running() || folder.isEmpty()) return false;
  incident::IncidentRequest request;
  request.recording = window_.currentRecording();
  request.at = window_.currentPosition();
  request.folder = folder.toStdString();
  request.profile = &window_.profile();
  request.force = replace;
  const auto& v = window_.profile().version;
  request.programVersion =
      std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);

  progress_ = new QProgressDialog(Text(kExporting), Text(kCancel), 0, 1000, &window_);
  progress_->setObjectName(QStringLiteral("IncidentProgress"));
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  progress_->setMinimumDuration(0);
  connect(progress_, &QProgressDialog::canceled, this, [this] {
    cancel_ = true;
    if (progress_) progress_->setLabelText(Text(kCancelling));
  });
  progress_->show();

  cancel_ = false;
  worker_ = std::thread([this, request, folder] {
    const auto result = incident::ExportIncident(request, &cancel_, [this](double fraction, std::string_view step) {
      const QString name = QString::fromUtf8(step.data(), static_cast<qsizetype>(step.size()));
      QMetaObject::invokeMethod(
          this, [this, fraction, name] { OnProgress(fraction, name); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, result, folder] { OnDone(result, folder); }, Qt::QueuedConnection);
  });
  return true;
}

void IncidentAction::OnProgress(double fraction, const QString& step) {
  if (!progress_ || cancel_) return;
  if (!step.isEmpty()) progress_->setLabelText(Text(kExporting) + "\n" + step);
  // Last: a window-modal progress dialog handles events in setValue, and the end of the export
  // may come in there and take the dialog away.
  progress_->setValue(static_cast<int>(fraction * 1000));
}

void IncidentAction::OnDone(const incident::IncidentResult& result, const QString& folder) {
  if (worker_.joinable()) worker_.join();
  if (progress_) progress_->deleteLater();
  progress_ = nullptr;
  const QString title = Text(kExportTitle);
  switch (result.status) {
    case incident::ExportStatus::Ok:
      gui::ShowMessage(&window_, Text(kExported) + "\n" + folder, title, QMessageBox::Information);
      break;
    case incident::ExportStatus::Cancelled: break;  // the user knows; nothing was left behind
    default:
      gui::ShowMessage(&window_, Text(kNotExported) + "\n" + QString::fromStdString(result.error), title,
                       QMessageBox::Warning);
  }
  emit exportFinished(result.status, folder);
}

std::optional<std::int64_t> IncidentAction::ImpactPosition() const {
  if (window_.playState() == kStopped || window_.duration() <= 0) return std::nullopt;
  const auto samples = recording::GSensorSamples(window_.sensorRecord());
  const auto peak = recording::FindImpact(samples);
  if (!peak) return std::nullopt;
  return recording::SampleStart(peak->index, static_cast<std::uint32_t>(samples.size()), window_.duration());
}

bool IncidentAction::SeekToImpact() {
  const auto position = ImpactPosition();
  if (!position || running()) return false;
  window_.transport().SeekAndPlay(*position);
  return true;
}

}  // namespace app
