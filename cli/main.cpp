#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace {

struct Subcommand {
  std::string_view name;
  int (*run)(std::span<const std::string>);
  std::string_view usage;
};

constexpr Subcommand kSubcommands[] = {
    {"list", cli::RunList, "list FOLDER [--clean] [--json]"},
    {"info", cli::RunInfo, "info FILE [--json]"},
    {"gps", cli::RunGps, "gps FILE [--format json|csv|gpx]"},
    {"gsensor", cli::RunGSensor, "gsensor FILE [--format json|csv]"},
    {"setup", cli::RunSetup, "setup show|factory|apply CARD [--profile dual|park|brand] [--json] [Key=Value ...]"},
    {"clock", cli::RunClock, "clock CARD \"YYYY-MM-DD hh:mm:ss\" [--profile dual|park|brand]"},
    {"format-plan", cli::RunFormatPlan, "format-plan CARD --capacity BYTES [--opened-on FOLDER]"},
    {"trips", cli::RunTrips, "trips FOLDER|FILE.KEL [--tz INDEX] [--dst] [--json]"},
    {"points", cli::RunPoints, "points FOLDER|FILE.KEL [--json]"},
    {"frame", cli::RunFrame, "frame FILE --at SECONDS -o OUT.jpg"},
    {"print", cli::RunPrint,
     "print FILE --at SECONDS -o OUT.pdf [--paper a4|letter] [--landscape] [--dpi N] [--profile dual|park|brand] "
     "[--swap]"},
    {"play", cli::RunPlay, "play FILE [--rate R] [--seek SECONDS]"},
    {"save", cli::RunSave, "save PATH OUT [--profile current|older]"},
    {"route", cli::RunRoute, "route PATH --row N [--profile current|older] [--json]"},
    {"page", cli::RunPage, "page PATH --row N [--tz INDEX] [--dst] [--profile current|older] [--json]"},
    {"find", cli::RunFind, "find CARD --time \"YYYY-MM-DD hh:mm:ss\" [--utc] [--json] [--tz INDEX] [--dst]"},
    {"export", cli::RunExport,
     "export PATH [--row N] --format gpx|kml|csv -o OUT [--tz INDEX] [--dst] [--profile current|older]"},
    {"events", cli::RunEvents, "events CARD [--min-g G] [--json]"},
    {"incident", cli::RunIncident,
     "incident FILE --at SECONDS -o FOLDER [--before S] [--after S] [--profile dual|park|brand] [--force]"},
};

// On stdout when asked for, on stderr after a mistake.
int Usage(std::ostream& out = std::cerr) {
  out << "usage:\n";
  for (const Subcommand& sub : kSubcommands) out << "  blackbox " << sub.usage << '\n';
  out << "  blackbox --help | --version\n";
  return cli::kExitBadArguments;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) return Usage();
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    Usage(std::cout);
    return cli::kExitOk;
  }
  if (name == "--version" || name == "-v") {
    std::cout << "blackbox " << BLACKBOX_VERSION << '\n';
    return cli::kExitOk;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const Subcommand& sub : kSubcommands) {
    if (sub.name == name) return sub.run(args);
  }
  cli::Fail(cli::kExitBadArguments, "unknown subcommand '" + std::string(name) + "'");
  return Usage();
}
