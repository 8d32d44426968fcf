#include <filesystem>
#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "manager/library/folder_scan.h"
#include "manager/library/recording_name.h"

namespace cli {

int RunList(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"clean"}, {}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1) return Fail(kExitBadArguments, "usage: blackbox list FOLDER [--clean]");
  const std::string& folder = parsed->positional[0];

  std::error_code fsError;
  if (!std::filesystem::is_directory(folder, fsError)) {
    return Fail(kExitUnreadable, folder + ": not a folder that can be read");
  }
  std::filesystem::directory_iterator probe(folder, fsError);
  if (fsError) return Fail(kExitUnreadable, folder + ": " + fsError.message());

  library::StubHandling stubs;
  stubs.remove = parsed->Has("clean");
  stubs.report = [&](const std::string& path, bool removed) {
    if (removed) {
      std::cerr << "deleted stub: " << path << '\n';
    } else if (stubs.remove) {
      std::cerr << "stub could not be deleted: " << path << '\n';
    } else {
      std::cerr << "stub (kept, --clean deletes it): " << path << '\n';
    }
  };

  const library::CSortStringArray paths = library::BuildRecordingList(folder, stubs);
  for (const std::string& path : paths.paths()) {
    std::cout << library::RecordingDateText(path) << '\t' << library::RecordingTimeText(path) << '\t'
              << library::RecordingCause(path) << '\t' << path << '\n';
  }
  std::cout.flush();
  return std::cout ? kExitOk : Fail(kExitUnreadable, "cannot write the list");
}

}  // namespace cli
