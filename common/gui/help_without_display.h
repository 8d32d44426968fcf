#pragma once

// --help and --version without a display. A QApplication cannot start without a display (or a
// QT_QPA_PLATFORM), and Qt's parser answers --help only after it has started; so a program asks
// here first, before it makes its QApplication.
#include <QCommandLineParser>
#include <QString>

#include <functional>
#include <optional>

namespace gui {

struct ProgramInfo {
  QString name;         // what --version prints first, as the program's title
  QString version;      // the version of the program's profile
  QString description;  // the first line of --help
};

// Adds the program's own options and positional arguments to a parser that already has
// --help, --version and the automation options.
using DescribeOptions = std::function<void(QCommandLineParser&)>;

// Makes the parser every program reads its command line with: description, --help, --version,
// the automation options, then the program's own.
void DescribeProgram(QCommandLineParser& parser, const ProgramInfo& info, const DescribeOptions& describe);

// True when the arguments ask for --help (-h, --help-all) or --version (-v); options after "--"
// are not options.
bool AsksForHelpOrVersion(int argc, const char* const* argv);

// When the arguments ask for help or the version, prints the answer (from a QCoreApplication, so
// no display is needed) and returns the exit code: 0, or 1 when another argument is not
// understood. Otherwise returns nothing and leaves no application behind.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv, const ProgramInfo& info, const DescribeOptions& describe);

}  // namespace gui
