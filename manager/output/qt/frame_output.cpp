#include "manager/output/qt/frame_output.h"

#include <vector>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "common/gui/message_box.h"
#include "manager/output/grab_frame.h"
#include "manager/output/qt/print_page.h"
#include "manager/output/rules/page_texts.h"
#include "manager/output/rules/snapshot_name.h"
#include "manager/output/save_frame_as_jpeg.h"
#include "manager/playback/transport.h"

namespace output {
namespace {

bool RecordingOpen(const FrameOutputContext& context) {
  return context.profile != nullptr && context.playState && context.playState() != 0;
}

bool HasGraph(const playback::CVideo* video) { return video != nullptr && video->graph && video->windowless; }

QString LastSnapshotFolder(const QString* chosen = nullptr) {
  static QString folder;
  if (chosen != nullptr) folder = QFileInfo(*chosen).absolutePath();
  if (folder.isEmpty()) {
    folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  }
  return folder;
}

QString FailureText(const std::vector<std::pair<std::string, FrameSave>>& failures) {
  QString text = failures.size() == 1 ? QStringLiteral("The picture was not saved:")
                                      : QStringLiteral("The pictures were not saved:");
  for (const auto& [path, result] : failures) {
    const QString name = QDir::toNativeSeparators(QString::fromStdString(path));
    text += result == FrameSave::TooLarge
                ? QStringLiteral("\n%1 (the picture does not fit a JPEG file of 2,000,000 bytes)").arg(name)
                : QStringLiteral("\n%1 (the file cannot be written there: is the card full or read-only?)").arg(name);
  }
  return text;
}

}  // namespace

bool TakeSnapshot(const FrameOutputContext& context) {
  if (!RecordingOpen(context)) return false;
  const std::string proposed =
      ProposedSnapshotName(context.recordingPath, TimeSampleAt(context.sensorRecord, context.position));

  const int channelCount = context.profile->snapshot == setup::SnapshotVariant::BothChannels ? 2 : 1;
  // Hold the pictures on screen while the user picks the file: the name tells this moment, so
  // the pictures written must be this moment's too. A cancelled dialog lets them play on.
  std::vector<playback::CVideo*> paused;
  for (int i = 0; i < channelCount; ++i) {
    playback::CVideo* video = context.channels[i];
    if (HasGraph(video) && video->state == playback::EngineState::kRunning) {
      playback::Pause(*video);
      paused.push_back(video);
    }
  }

  const QString chosen = context.chooseSnapshotPath
                             ? context.chooseSnapshotPath(context.window, QString::fromStdString(proposed))
                             : ChooseSnapshotPath(context.window, QString::fromStdString(proposed));
  if (chosen.isEmpty()) {
    for (auto it = paused.rbegin(); it != paused.rend(); ++it) {  // channel 2 first, as every command does
      if ((*it)->state == playback::EngineState::kPaused && context.playState && context.playState() != 0)
        playback::Play(**it);
    }
    return false;
  }
  if (!context.playState || context.playState() == 0) return false;

  const std::string first = chosen.toStdString();
  const std::string paths[2] = {first, CompanionSnapshotPath(first)};
  std::vector<std::pair<std::string, FrameSave>> failures;
  for (int i = 0; i < channelCount; ++i) {
    if (context.channels[i] == nullptr) continue;
    const FrameSave result = SaveFrameAsJpeg(*context.channels[i], paths[i]);
    if (result == FrameSave::TooLarge || result == FrameSave::NotWritten) failures.emplace_back(paths[i], result);
  }
  if (!failures.empty()) gui::ShowMessage(context.window, FailureText(failures), QString(), QMessageBox::Warning);
  return failures.empty();
}

bool PrintFrame(const FrameOutputContext& context) {
  if (!RecordingOpen(context)) return false;
  const bool twoPictures = context.profile->print == setup::PrintVariant::TwoPicturesUnscaled;

  QImage pictures[2];
  for (int i = twoPictures ? 1 : 0; i >= 0; --i) {  // channel 2 first
    playback::CVideo* video = context.channels[i];
    if (video != nullptr) pictures[i] = PictureFromFrame(GrabFrame(*video));
  }
  std::vector<QImage> slotPictures;
  if (twoPictures) {
    const int large = context.largeWindowChannel == 1 ? 1 : 0;
    slotPictures = {pictures[large], pictures[1 - large]};
  } else {
    slotPictures = {pictures[0]};
  }

  PageFacts facts;
  facts.time = TimeSampleAt(context.sensorRecord, context.position);
  facts.gsensor = GSensorSampleAt(context.sensorRecord, context.position);
  facts.speedKnots = context.speedKnots;
  facts.printedAt = LocalTimeNow();
  const PageContent content = MakePageContent(BuildPageTexts(facts, *context.profile), std::move(slotPictures));

  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Image"));
  const bool accepted =
      context.choosePrinter ? context.choosePrinter(printer, context.window) : ChoosePrinter(printer, context.window);
  if (!accepted) return false;
  return PrintPage(printer, *context.profile, content);
}

QString ChooseSnapshotPath(QWidget* parent, const QString& proposedName) {
  QFileDialog dialog(parent, QStringLiteral("Save As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("jpg"));
  dialog.setNameFilter(QStringLiteral("jpeg file(*.jpg)"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setDirectory(LastSnapshotFolder());
  dialog.selectFile(proposedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString chosen = dialog.selectedFiles().constFirst();
  LastSnapshotFolder(&chosen);
  return chosen;
}

bool ChoosePrinter(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace output
