#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

#include "common/gui/automation.h"
#include "common/gui/help_without_display.h"
#include "manager/setup/profile.h"

namespace app {

class ManagerWindow;

// The manager's command line: an optional folder and the actions a scripted run performs on it,
// in this order: load the folder, click a row, seek, pause, swap the channels, full screen,
// take a snapshot, print, export the incident, open the setup dialog.
struct ManagerOptions {
  QString folder;
  std::optional<int> row;    // 0-based, list order
  QString file;              // the recording to click instead of a row; FOLDER defaults to its folder
  std::optional<double> at;  // seconds
  bool atImpact = false;     // --at impact: the recording's largest G-force change
  bool pause = false;
  bool fullScreen = false;
  bool swap = false;
  QString snapshot;        // the snapshot button, its save dialog answered with this file
  QString printPdf;        // the print button, its print dialog answered with a PDF file
  QString openSetup;       // the setup dialog opened on this card folder
  QString exportIncident;  // "Export incident..." of the moment shown, into this folder
  gui::AutomationOptions automation;
};

// The name and version --version prints and the line --help starts with, from the build's profile.
gui::ProgramInfo ManagerProgramInfo(const setup::Profile& profile);
// The manager's own options and its FOLDER argument (gui::DescribeProgram adds the shared ones).
void DescribeManagerOptions(QCommandLineParser& parser);

// Parses `arguments` (program name first). False with `error` set when they are not usable;
// --help and --version are answered before, by gui::AnswerHelpOrVersion.
bool ParseManagerOptions(QCommandLineParser& parser, const gui::ProgramInfo& program, const QStringList& arguments,
                         ManagerOptions& options, QString& error);

// Performs the requested actions up to full screen on the window; each one that does not work
// is reported to `automation`. Returns the position (100 ns units) whose picture a screenshot
// should show.
std::int64_t PerformActions(ManagerWindow& window, const ManagerOptions& options, gui::Automation& automation);

// The snapshot, the print and the setup dialog act on what the window shows, so they come once
// the window has settled after PerformActions, as a user would click them.
bool HasOutputActions(const ManagerOptions& options);
void PerformOutputActions(ManagerWindow& window, const ManagerOptions& options, gui::Automation& automation);

// Calls `then` once `settled` holds, or after `timeout` at the latest, polling on the event loop.
void WhenSettled(QObject* context, std::function<bool()> settled, std::function<void()> then,
                 std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace app
