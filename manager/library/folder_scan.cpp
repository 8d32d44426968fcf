#include "manager/library/folder_scan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "manager/library/recording_name.h"

namespace library {
namespace {

struct Entry {
  std::string name;
  bool folder = false;
};

std::vector<Entry> ReadFolderSorted(const std::string& folder) {
  std::vector<Entry> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    entries.push_back(Entry{it->path().filename().string(), it->is_directory(typeError)});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path += name;
  return path;
}

void ScanFolder(const std::string& folder, std::string_view prefix, int& depth, CSortStringArray& paths,
                const StubHandling& stubs) {
  ++depth;
  for (const Entry& entry : ReadFolderSorted(folder)) {
    if (entry.name == "." || entry.name == "..") continue;
    if (entry.folder) {
      // Too deep: skip this subfolder, but keep the folder's own recordings that come after it.
      if (depth < kMaxScanDepth) ScanFolder(JoinPath(folder, entry.name), prefix, depth, paths, stubs);
      continue;
    }
    if (!HasRecordingExtension(entry.name)) continue;
    std::string path = JoinPath(folder, entry.name);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || !entry.name.starts_with(prefix)) continue;
    if (size > kStubSize) {
      paths.Add(std::move(path));
    } else {
      const bool removed = stubs.remove && std::filesystem::remove(path, error) && !error;
      if (stubs.report) stubs.report(path, removed);
    }
  }
  --depth;
}

CSortStringArray BuildRecordingList(const std::string& folder, const StubHandling& stubs) {
  CSortStringArray paths;
  int depth = 0;
  ScanFolder(folder, kChannel1Prefix, depth, paths, stubs);
  paths.Sort();
  return paths;
}

}  // namespace library
