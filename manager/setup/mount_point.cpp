#include "manager/setup/mount_point.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <system_error>

namespace setup {

std::optional<std::filesystem::path> FindMountPoint(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path current = std::filesystem::canonical(path, error);
  if (error) return std::nullopt;
  struct stat info {};
  if (::stat(current.c_str(), &info) != 0) return std::nullopt;
  const dev_t device = info.st_dev;
  while (current.has_relative_path()) {
    const std::filesystem::path parent = current.parent_path();
    struct stat parent_info {};
    if (::stat(parent.c_str(), &parent_info) != 0 || parent_info.st_dev != device) break;
    current = parent;
  }
  return current;
}

std::optional<std::uint64_t> FileSystemCapacity(const std::filesystem::path& path) {
  struct statvfs info {};
  if (::statvfs(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_blocks) * static_cast<std::uint64_t>(info.f_frsize);
}

}  // namespace setup
