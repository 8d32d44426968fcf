#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "common/escaped_text.h"
#include "manager/library/folder_scan.h"
#include "manager/library/recording_name.h"

namespace cli {
namespace {

constexpr const char* kUsage = "usage: blackbox list FOLDER [--clean] [--json]";

void PrintRows(const library::SortedPathList& paths) {
  for (const std::string& path : paths.paths()) {
    // The date and time are cut out of the name, so they may hold whatever the name holds.
    std::cout << common::EscapedForListing(library::RecordingDateText(path)) << '\t'
              << common::EscapedForListing(library::RecordingTimeText(path)) << '\t' << library::RecordingCause(path)
              << '\t' << common::EscapedForListing(path) << '\n';
  }
}

void PrintJson(const library::SortedPathList& paths) {
  auto array = nlohmann::ordered_json::array();
  for (const std::string& path : paths.paths()) {
    nlohmann::ordered_json item;
    item["date"] = library::RecordingDateText(path);
    item["time"] = library::RecordingTimeText(path);
    item["cause"] = std::string(library::RecordingCause(path));
    item["path"] = path;
    array.push_back(std::move(item));
  }
  // A name that is no UTF-8 shows U+FFFD for its stray bytes rather than breaking the output.
  std::cout << array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace

int RunList(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"clean", "json"}, {}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1) return Fail(kExitBadArguments, kUsage);
  const std::string& folder = parsed->positional[0];

  std::error_code fsError;
  if (!std::filesystem::is_directory(folder, fsError)) {
    return Fail(kExitUnreadable, common::EscapedForListing(folder) + ": not a folder that can be read");
  }
  std::filesystem::directory_iterator probe(folder, fsError);
  if (fsError) return Fail(kExitUnreadable, common::EscapedForListing(folder) + ": " + fsError.message());

  library::StubHandling stubs;
  stubs.remove = parsed->Has("clean");
  stubs.report = [&](const std::string& path, bool removed) {
    const std::string shown = common::EscapedForListing(path);
    if (removed) {
      std::cerr << "deleted stub: " << shown << '\n';
    } else if (stubs.remove) {
      std::cerr << "stub could not be deleted: " << shown << '\n';
    } else {
      std::cerr << "stub (kept, --clean deletes it): " << shown << '\n';
    }
  };

  const library::SortedPathList paths = library::BuildRecordingList(folder, stubs);
  if (parsed->Has("json")) {
    PrintJson(paths);
  } else {
    PrintRows(paths);
  }
  std::cout.flush();
  return std::cout ? kExitOk : Fail(kExitUnreadable, "cannot write the list");
}

}  // namespace cli
