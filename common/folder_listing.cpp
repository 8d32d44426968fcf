#include "common/folder_listing.h"

#include <algorithm>
#include <system_error>

namespace common {

std::optional<std::vector<FolderEntry>> ListFolderSorted(const std::filesystem::path& folder) {
  std::vector<FolderEntry> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    entries.push_back({.name = it->path().filename().native(),
                       .folder = it->is_directory(ignored),
                       .regular = it->is_regular_file(ignored)});
  }
  if (error) return std::nullopt;
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace common
