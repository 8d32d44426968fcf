#include "manager/app/manager_options.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPrinter>
#include <QTimer>

#include <cmath>
#include <filesystem>
#include <memory>

#include "manager/app/incident_action.h"
#include "manager/app/manager_window.h"
#include "manager/display/rules/button_table.h"
#include "manager/setup/dialog/setup_dialog.h"

namespace app {

gui::ProgramInfo ManagerProgramInfo(const setup::Profile& profile) {
  const auto& v = profile.version;
  return {QString::fromUtf8(profile.window_title.data(), static_cast<qsizetype>(profile.window_title.size())),
          QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]),
          QStringLiteral("Plays the dash camera's recordings with their GPS and G-sensor data.")};
}

void DescribeManagerOptions(QCommandLineParser& parser) {
  parser.addPositionalArgument(QStringLiteral("FOLDER"),
                               QStringLiteral("A folder of recordings to load, as the folder button does."),
                               QStringLiteral("[FOLDER]"));
  parser.addOption({QStringLiteral("row"), QStringLiteral("Click row N of the list (0-based)."), QStringLiteral("N")});
  parser.addOption({QStringLiteral("file"),
                    QStringLiteral("Click the row of recording PATH (FOLDER defaults to the folder it lies in)."),
                    QStringLiteral("PATH")});
  parser.addOption({QStringLiteral("at"),
                    QStringLiteral("Seek to SECONDS as the position slider would; 'impact' seeks to the recording's "
                                   "largest G-force change, as key I does."),
                    QStringLiteral("SECONDS")});
  parser.addOption({QStringLiteral("pause"), QStringLiteral("Then pause.")});
  parser.addOption({QStringLiteral("fullscreen"), QStringLiteral("Then press the full-screen button.")});
  parser.addOption({QStringLiteral("swap"), QStringLiteral("Then press the swap button.")});
  parser.addOption({QStringLiteral("snapshot"),
                    QStringLiteral("Then press the snapshot button and save to FILE.jpg (the rear camera to "
                                   "FILE.jpg.drr.jpg)."),
                    QStringLiteral("FILE.jpg")});
  parser.addOption({QStringLiteral("print"), QStringLiteral("Then press the print button and print to FILE.pdf."),
                    QStringLiteral("FILE.pdf")});
  parser.addOption({QStringLiteral("export-incident"),
                    QStringLiteral("Then export the incident of the moment shown into FOLDER, as Export incident... "
                                   "does."),
                    QStringLiteral("FOLDER")});
  parser.addOption({QStringLiteral("open-setup"),
                    QStringLiteral("Then open the setup dialog on the card folder CARD, as if it had been chosen."),
                    QStringLiteral("CARD")});
}

bool ParseManagerOptions(QCommandLineParser& parser, const gui::ProgramInfo& program, const QStringList& arguments,
                         ManagerOptions& options, QString& error) {
  gui::DescribeProgram(parser, program, DescribeManagerOptions);
  if (!parser.parse(arguments)) {
    error = parser.errorText();
    return false;
  }
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))) return true;

  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1) {
    error = QStringLiteral("only one folder can be given");
    return false;
  }
  if (!positional.isEmpty()) options.folder = positional.front();
  if (parser.isSet(QStringLiteral("row"))) {
    bool ok = false;
    const int row = parser.value(QStringLiteral("row")).toInt(&ok);
    if (!ok || row < 0) {
      error = QStringLiteral("--row wants a row number from 0");
      return false;
    }
    options.row = row;
  }
  if (parser.isSet(QStringLiteral("at"))) {
    bool ok = false;
    const QString value = parser.value(QStringLiteral("at"));
    const double at = value.toDouble(&ok);
    if (value == QStringLiteral("impact")) {
      options.atImpact = true;
    } else if (!ok || !std::isfinite(at) || at < 0) {
      error = QStringLiteral("--at wants a number of seconds from 0, or impact");
      return false;
    } else {
      options.at = at;
    }
  }
  options.pause = parser.isSet(QStringLiteral("pause"));
  options.fullScreen = parser.isSet(QStringLiteral("fullscreen"));
  options.swap = parser.isSet(QStringLiteral("swap"));
  // Relative to where the program was started, whatever it does with its working folder later.
  const auto absolute = [&](const char* name) {
    const QString value = parser.value(QString::fromLatin1(name));
    return value.isEmpty() ? value : QFileInfo(value).absoluteFilePath();
  };
  options.snapshot = absolute("snapshot");
  options.printPdf = absolute("print");
  options.openSetup = absolute("open-setup");
  options.file = absolute("file");
  if (!options.file.isEmpty()) {
    if (options.row) {
      error = QStringLiteral("--file and --row both choose the row: give one");
      return false;
    }
    if (options.folder.isEmpty()) options.folder = QFileInfo(options.file).absolutePath();
  }
  options.exportIncident = absolute("export-incident");
  options.automation = gui::ReadAutomationOptions(parser);
  if (!options.exportIncident.isEmpty() && !options.row && options.file.isEmpty()) {
    error = QStringLiteral("--export-incident needs a --row or --file to play");
    return false;
  }
  if ((options.row || options.at || options.atImpact || options.pause) && options.folder.isEmpty()) {
    error = QStringLiteral("--row, --at and --pause need a FOLDER");
    return false;
  }
  if ((options.at || options.atImpact || options.pause || !options.snapshot.isEmpty() || !options.printPdf.isEmpty()) &&
      !options.row && options.file.isEmpty()) {
    error = QStringLiteral("--at, --pause, --snapshot and --print need a --row or --file to play");
    return false;
  }
  return true;
}

namespace {

// The list row of the recording at `file`, however the two paths are spelled.
std::optional<int> RowOfFile(const library::SortedPathList& paths, const std::string& file) {
  for (std::size_t row = 0; row < paths.paths().size(); ++row) {
    std::error_code error;
    if (std::filesystem::equivalent(paths.paths()[row], file, error) && !error) return static_cast<int>(row);
  }
  return std::nullopt;
}

// The snapshot command with its save dialog answered by `path`.
void TakeScriptedSnapshot(ManagerWindow& window, const QString& path, gui::Automation& automation) {
  output::FrameOutputContext context = window.FrameOutput();
  context.chooseSnapshotPath = [&path](QWidget*, const QString&) { return path; };
  // A channel without a picture is no failure of the command, but then nothing was saved.
  if (window.playState() == kStopped || !output::TakeSnapshot(context) || !QFileInfo::exists(path)) {
    automation.Fail(QStringLiteral("--snapshot: nothing saved to ") + path);
  }
}

// The print command with its print dialog answered by a PDF printer: the default paper, the
// whole sheet, at the resolution blackbox print uses.
void PrintScriptedPdf(ManagerWindow& window, const QString& path, gui::Automation& automation) {
  output::FrameOutputContext context = window.FrameOutput();
  context.choosePrinter = [&path](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(600);
    printer.setFullPage(true);
    return true;
  };
  if (window.playState() == kStopped || !output::PrintFrame(context)) {
    automation.Fail(QStringLiteral("--print: nothing printed to ") + path);
  }
}

// Export incident of the moment shown, its folder chosen; the window goes on meanwhile.
void ExportScriptedIncident(ManagerWindow& window, const QString& folder, gui::Automation& automation) {
  auto* action = window.findChild<IncidentAction*>();
  QEventLoop wait;
  incident::ExportStatus status = incident::ExportStatus::Failed;
  if (action != nullptr) {
    QObject::connect(action, &IncidentAction::exportFinished, &wait, [&](incident::ExportStatus done, const QString&) {
      status = done;
      wait.quit();
    });
  }
  if (action == nullptr || !action->StartExport(folder)) {
    automation.Fail(QStringLiteral("--export-incident: nothing to export"));
    return;
  }
  wait.exec();
  if (status != incident::ExportStatus::Ok)
    automation.Fail(QStringLiteral("--export-incident: not exported to ") + folder);
}

}  // namespace

std::int64_t PerformActions(ManagerWindow& window, const ManagerOptions& options, gui::Automation& automation) {
  std::int64_t shown = 0;
  if (!options.folder.isEmpty()) {
    const QFileInfo folder(options.folder);
    if (!folder.isDir()) {
      automation.Fail(QStringLiteral("not a folder: ") + options.folder);
    } else {
      window.LoadFolder(folder.absoluteFilePath().toStdString());
    }
  }
  std::optional<int> row = options.row;
  if (!options.file.isEmpty()) {
    row = RowOfFile(window.recordingList().recordingPaths(), options.file.toStdString());
    if (!row)
      automation.Fail(QStringLiteral("--file: the list of ") + options.folder + QStringLiteral(" has no ") +
                      options.file);
  }
  if (row) {
    const int count = window.recordingList().recordingCount();
    if (*row >= count) {
      automation.Fail(QStringLiteral("--row %1: the list has %2 rows").arg(*row).arg(count));
    } else {
      window.ClickRow(*row);
      if (window.playState() != kPlaying) automation.Fail(QStringLiteral("row %1 did not start playing").arg(*row));
    }
  }
  if (options.at && window.playState() != kStopped) {
    const std::int64_t target = static_cast<std::int64_t>(std::llround(*options.at * 10'000'000.0));
    if (target >= window.duration()) {
      automation.Fail(QStringLiteral("--at %1: the recording is shorter").arg(*options.at));
    } else {
      window.transport().SeekAndPlay(target);
      shown = target;
    }
  }
  if (options.atImpact && window.playState() != kStopped) {
    const auto* action = window.findChild<IncidentAction*>();
    const auto impact = action != nullptr ? action->ImpactPosition() : std::nullopt;
    if (!impact) {
      automation.Fail(QStringLiteral("--at impact: the recording has no G-sensor record"));
    } else {
      window.transport().SeekAndPlay(*impact);
      shown = *impact;
    }
  }
  if (options.pause && window.playState() == kPlaying) window.transport().TogglePause();
  if (options.swap && !window.OnCommand(display::commands::kSwap)) {
    automation.Fail(QStringLiteral("--swap: this build has one channel"));
  }
  if (options.fullScreen) window.OnCommand(display::commands::kFullScreen);
  window.MarkActionsDone();
  return shown;
}

bool HasOutputActions(const ManagerOptions& options) {
  return !options.snapshot.isEmpty() || !options.printPdf.isEmpty() || !options.openSetup.isEmpty() ||
         !options.exportIncident.isEmpty();
}

void PerformOutputActions(ManagerWindow& window, const ManagerOptions& options, gui::Automation& automation) {
  if (!options.snapshot.isEmpty()) TakeScriptedSnapshot(window, options.snapshot, automation);
  if (!options.printPdf.isEmpty()) PrintScriptedPdf(window, options.printPdf, automation);
  if (!options.exportIncident.isEmpty()) ExportScriptedIncident(window, options.exportIncident, automation);
  if (!options.openSetup.isEmpty()) {
    if (setup::CSetupDlg* dialog = window.OpenSetup(options.openSetup)) {
      automation.SetScreenshotTarget(dialog);
    } else {
      automation.Fail(QStringLiteral("--open-setup: no setup dialog on ") + options.openSetup);
    }
  }
  window.MarkActionsDone();
}

void WhenSettled(QObject* context, std::function<bool()> settled, std::function<void()> then,
                 std::chrono::milliseconds timeout) {
  // A child of the context, so it ends with it when the window goes first.
  auto* poll = new QTimer(context);
  QElapsedTimer clock;
  clock.start();
  QObject::connect(poll, &QTimer::timeout, context, [=] {
    if (!settled() && !clock.hasExpired(timeout.count())) return;
    poll->stop();
    poll->deleteLater();
    then();
  });
  poll->start(20);
}

}  // namespace app
