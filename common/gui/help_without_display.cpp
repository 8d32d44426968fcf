#include "common/gui/help_without_display.h"

#include <QCoreApplication>

#include <cstdio>
#include <string_view>

#include "common/gui/automation.h"

namespace gui {

void DescribeProgram(QCommandLineParser& parser, const ProgramInfo& info, const DescribeOptions& describe) {
  parser.setApplicationDescription(info.description);
  parser.addHelpOption();
  parser.addVersionOption();
  AddAutomationOptions(parser);
  if (describe) describe(parser);
}

bool AsksForHelpOrVersion(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") return false;
    if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version") return true;
  }
  return false;
}

std::optional<int> AnswerHelpOrVersion(int argc, char** argv, const ProgramInfo& info,
                                       const DescribeOptions& describe) {
  if (!AsksForHelpOrVersion(argc, argv)) return std::nullopt;
  // Answered here rather than by QCommandLineParser::process(), which ends the process with
  // exit() from inside the parser.
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(info.name);
  QCoreApplication::setApplicationVersion(info.version);
  QCommandLineParser parser;
  DescribeProgram(parser, info, describe);
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(info.name), qPrintable(parser.errorText()));
    return 1;
  }
  if (parser.isSet("help") || parser.isSet("help-all")) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
  }
  if (parser.isSet("version")) {
    std::printf("%s %s\n", qPrintable(info.name), qPrintable(info.version));
    return 0;
  }
  // "-h" as the value of another option asks for nothing: the program starts as usual.
  return std::nullopt;
}

}  // namespace gui
