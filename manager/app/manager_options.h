#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

#include "common/gui/automation.h"

namespace app {

class CBlackBoxDlg;

// The manager's command line: an optional folder and the actions a scripted run performs on it,
// in this order: load the folder, click a row, seek, pause, swap the channels, full screen.
struct ManagerOptions {
  QString folder;
  std::optional<int> row;         // 0-based, list order
  std::optional<double> at;       // seconds
  bool pause = false;
  bool fullScreen = false;
  bool swap = false;
  gui::AutomationOptions automation;
};

// Parses `arguments` (program name first). False with `error` set when they are not usable;
// --help and --version are handled by the parser itself.
bool ParseManagerOptions(QCommandLineParser& parser, const QStringList& arguments, ManagerOptions& options,
                         QString& error);

// Performs the requested actions on the window; each one that does not work is reported to
// `automation`. Returns the position (100 ns units) whose picture a screenshot should show.
std::int64_t PerformActions(CBlackBoxDlg& window, const ManagerOptions& options, gui::Automation& automation);

}  // namespace app
