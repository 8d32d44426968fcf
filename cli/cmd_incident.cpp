#include <cmath>
#include <csignal>
#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/offscreen_qt.h"
#include "cli/still_frame.h"
#include "manager/incident/incident_export.h"
#include "manager/setup/profile.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "usage: blackbox incident FILE --at SECONDS -o FOLDER [--before S] [--after S] [--profile dual|park|brand] "
    "[--force]";

// Ctrl+C asks the export to stop; it then removes what it made.
std::atomic<bool> interrupted{false};
extern "C" void OnInterrupt(int) { interrupted = true; }

std::int64_t Units(double seconds) { return static_cast<std::int64_t>(std::llround(seconds * kUnitsPerSecond)); }

}  // namespace

int RunIncident(std::span<const std::string> args) {
  std::string error;
  const auto parsed =
      ParseArguments(WithLongOutputOption(args), {"force"}, {"at", "output", "before", "after", "profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("at") || !parsed->options.contains("output")) {
    return Fail(kExitBadArguments, kUsage);
  }
  const auto at = ParseSeconds(parsed->Option("at", ""));
  const auto before = ParseSeconds(parsed->Option("before", "10"));
  const auto after = ParseSeconds(parsed->Option("after", "10"));
  if (!at || !before || !after) return Fail(kExitBadArguments, "--at, --before and --after need seconds, 0 or more");
  if (*before + *after <= 0) return Fail(kExitBadArguments, "--before and --after leave nothing to cut");
  const setup::Profile* profile = setup::FindProfile(parsed->Option("profile", "dual"));
  if (profile == nullptr) return Fail(kExitBadArguments, "--profile is dual, park or brand");
  const std::string out = parsed->Option("output", "");
  if (out.empty()) return Fail(kExitBadArguments, "-o needs a folder");

  incident::IncidentRequest request;
  request.recording = parsed->positional[0];
  request.at = Units(*at);
  request.before = Units(*before);
  request.after = Units(*after);
  request.folder = out;
  request.profile = profile;
  request.force = parsed->Has("force");
  request.programVersion = BLACKBOX_VERSION;

  const auto app = StartOffscreenQt();
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  const incident::IncidentResult result = incident::ExportIncident(request, &interrupted);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  for (const std::string& warning : result.warnings) std::cerr << "blackbox: " << warning << '\n';
  switch (result.status) {
    case incident::ExportStatus::Ok:
      for (const std::string& file : result.files) std::cout << (request.folder / file).string() << '\n';
      return kExitOk;
    case incident::ExportStatus::FolderInUse: return Fail(kExitBadArguments, result.error + " (--force replaces it)");
    case incident::ExportStatus::Refused: return Fail(kExitBadArguments, result.error);
    case incident::ExportStatus::Cancelled: return Fail(kExitUnreadable, "interrupted: nothing was written");
    case incident::ExportStatus::Unreadable:
    case incident::ExportStatus::Failed: break;
  }
  return Fail(kExitUnreadable, result.error);
}

}  // namespace cli
