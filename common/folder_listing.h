#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace common {

struct FolderEntry {
  std::filesystem::path path;
  bool folder = false;        // a folder, or a link to one
  bool regular = false;       // a regular file, or a link to one
  std::uint64_t size = 0;     // of a regular file; 0 when it cannot be told
};

// The entries of `folder` ("." and ".." never among them), sorted by name: the camera names its
// files in the order it writes them, and a result must not depend on the file system's order.
// Nothing when the folder cannot be listed to the end.
std::optional<std::vector<FolderEntry>> ListFolderSorted(const std::filesystem::path& folder);

}  // namespace common
