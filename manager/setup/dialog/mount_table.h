#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "manager/setup/dialog/card_system.h"

namespace setup {

// The lines of /proc/self/mounts (the fstab layout): device, mount point, type, options, each
// with blanks and backslashes written as octal escapes ("NO\040NAME"). Malformed lines are skipped.
std::vector<MountEntry> ParseMountTable(std::string_view text);

// The mount that holds `path`: the last mounted entry whose mount point is `path` or one of its
// parents, compared by whole path components. Nothing when no entry holds it.
const MountEntry* FindMountHolding(const std::vector<MountEntry>& table, std::string_view path);

// All entries mounted exactly at `mount_point` (the later ones hide the earlier ones).
std::vector<const MountEntry*> EntriesAt(const std::vector<MountEntry>& table, std::string_view mount_point);

// A path without "." and ".." parts and without a trailing separator ("/" stays "/").
std::string NormalizedPath(std::string_view path);

}  // namespace setup
