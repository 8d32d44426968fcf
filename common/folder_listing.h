#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace common {

// What the listing itself tells of an entry, without asking the file system for more: the
// kinds come with the names, a size would cost a call per entry. No path either: a card holds
// tens of thousands of recordings, and most callers join only the names they keep.
struct FolderEntry {
  std::string name;
  bool folder = false;   // a folder, or a link to one
  bool regular = false;  // a regular file, or a link to one
};

// The entries of `folder` ("." and ".." never among them), sorted by name: the camera names its
// files in the order it writes them, and a result must not depend on the file system's order.
// Nothing when the folder cannot be listed to the end.
std::optional<std::vector<FolderEntry>> ListFolderSorted(const std::filesystem::path& folder);

}  // namespace common
