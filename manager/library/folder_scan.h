#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "manager/library/sorted_path_list.h"

namespace library {

// A channel-1 file of this size or less is a stub the camera left behind (a recording cut off
// before any data): the manager deletes it instead of listing it.
inline constexpr std::uint64_t kStubSize = 1024;

// The chosen folder is depth 1; its subfolders 2 and theirs 3, which are not descended into.
inline constexpr int kMaxScanDepth = 3;

struct StubHandling {
  bool remove = true;  // delete stubs as the manager does; false only names them
  // Told of every stub found: its path, and whether it is gone now.
  std::function<void(const std::string& path, bool removed)> report;
};

// Appends the full paths of the recordings of `prefix` under `folder` to `paths` and deals with
// stubs. Entries are read sorted by name, so the result never depends on directory order.
// A folder that cannot be read adds nothing.
void ScanFolder(const std::string& folder, std::string_view prefix, int& depth, SortedPathList& paths,
                const StubHandling& stubs = {});

// The recording list of a folder as the manager builds it: scanned and sorted.
SortedPathList BuildRecordingList(const std::string& folder, const StubHandling& stubs = {});

}  // namespace library
