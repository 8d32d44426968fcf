#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace setup {

// The mount point of the file system that holds `path` (the "drive" of a card folder), found
// by walking up while the device stays the same. Nothing when the path cannot be examined.
std::optional<std::filesystem::path> FindMountPoint(const std::filesystem::path& path);

// Total size in bytes of the file system that holds `path`; nothing when it cannot be asked.
std::optional<std::uint64_t> FileSystemCapacity(const std::filesystem::path& path);

}  // namespace setup
