#include "manager/library/folder_scan.h"

#include <filesystem>
#include <system_error>

#include "common/folder_listing.h"
#include "common/path_text.h"
#include "manager/library/recording_name.h"

namespace library {

void ScanFolder(const std::string& folder, std::string_view prefix, int& depth, CSortStringArray& paths,
                const StubHandling& stubs) {
  ++depth;
  const auto entries = common::ListFolderSorted(folder);
  for (const common::FolderEntry& entry : entries ? *entries : std::vector<common::FolderEntry>{}) {
    const std::string& name = entry.name;
    if (entry.folder) {
      // Too deep: skip this subfolder, but keep the folder's own recordings that come after it.
      if (depth < kMaxScanDepth) ScanFolder(common::JoinPath(folder, name), prefix, depth, paths, stubs);
      continue;
    }
    if (!HasRecordingExtension(name)) continue;
    std::string path = common::JoinPath(folder, name);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || !name.starts_with(prefix)) continue;
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
