#include "manager/library/folder_scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "common/folder_listing.h"
#include "common/path_text.h"
#include "manager/library/recording_name.h"

namespace library {
namespace {

namespace fs = std::filesystem;

using FileId = std::pair<dev_t, ino_t>;

// What one scan carries from folder to folder: where the card ends, and what it has seen. A card
// copied to disk or unpacked from an archive can hold links that lead anywhere: a folder link to
// `.` would otherwise list the same recordings again at every level, and one to a folder off the
// card would make the stub rule delete the user's own files.
struct ScanState {
  fs::path card;  // the chosen folder with its links resolved; nothing is read or deleted outside it
  std::set<FileId> folders;
  std::set<FileId> recordings;
  std::string_view prefix;
  const StubHandling* stubs = nullptr;
  SortedPathList* paths = nullptr;
};

bool OnCard(const ScanState& state, const std::string& path) {
  std::error_code error;
  const fs::path real = fs::canonical(path, error);
  if (error) return false;
  auto [card_end, real_end] = std::mismatch(state.card.begin(), state.card.end(), real.begin(), real.end());
  return card_end == state.card.end();
}

bool IsLink(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// True the first time a folder (or file) is met, whatever name it was reached by.
bool FirstVisit(std::set<FileId>& seen, const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info) == 0 && seen.insert({info.st_dev, info.st_ino}).second;
}

void Scan(ScanState& state, const std::string& folder, int& depth) {
  ++depth;
  const auto entries = common::ListFolderSorted(folder);
  for (const common::FolderEntry& entry : entries ? *entries : std::vector<common::FolderEntry>{}) {
    const std::string& name = entry.name;
    if (entry.folder) {
      // Too deep: skip this subfolder, but keep the folder's own recordings that come after it.
      if (depth >= kMaxScanDepth) continue;
      std::string path = common::JoinPath(folder, name);
      struct stat info {};
      if (IsLink(path) && !OnCard(state, path)) continue;
      if (!FirstVisit(state.folders, path, info)) continue;
      Scan(state, path, depth);
      continue;
    }
    if (!entry.regular || !HasRecordingExtension(name) || !name.starts_with(state.prefix)) continue;
    std::string path = common::JoinPath(folder, name);
    const bool link = IsLink(path);
    if (link && !OnCard(state, path)) continue;
    struct stat info {};
    if (!FirstVisit(state.recordings, path, info) || !S_ISREG(info.st_mode)) continue;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > kStubSize) {
      state.paths->Add(std::move(path));
    } else {
      // A link is not the camera's stub: removing it would change nothing on the card.
      std::error_code error;
      const bool removed = !link && state.stubs->remove && fs::remove(path, error) && !error;
      if (state.stubs->report) state.stubs->report(path, removed);
    }
  }
  --depth;
}

}  // namespace

void ScanFolder(const std::string& folder, std::string_view prefix, int& depth, SortedPathList& paths,
                const StubHandling& stubs) {
  ScanState state;
  state.prefix = prefix;
  state.stubs = &stubs;
  state.paths = &paths;
  std::error_code error;
  state.card = fs::canonical(folder, error);
  if (error) return;
  struct stat info {};
  if (!FirstVisit(state.folders, folder, info)) return;
  Scan(state, folder, depth);
}

SortedPathList BuildRecordingList(const std::string& folder, const StubHandling& stubs) {
  SortedPathList paths;
  int depth = 0;
  ScanFolder(folder, kChannel1Prefix, depth, paths, stubs);
  paths.Sort();
  return paths;
}

}  // namespace library
