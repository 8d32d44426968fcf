#pragma once

#include <filesystem>
#include <string_view>

namespace common {

// Replaces the file at `path` with `bytes` so that a crash, a full card or a pulled card leaves
// either the old file or the new one, never a truncated mix: the bytes go to a temporary file in
// the same folder, are flushed to the device, and the temporary file is renamed over the file.
// Returns false (and leaves the old file as it was) when any step fails.
//
// - A symbolic link is written through: its final target is replaced, the link stays a link.
// - The replaced file keeps its permission bits, and its owner and group where the process may
//   set them. A new file gets the permissions of any newly created file (0666 less the umask).
// - The temporary file is `NAME.partial` next to the file. A crash may leave it behind; the
//   next write of the same file removes it. Writers of the same file take turns on it.
//
// What a FAT memory card can promise: FAT has no journal, so the rename is the one step that
// makes the new bytes visible, and the data is flushed before it. A card pulled during the
// rename itself may still need a file-system check (the old or the new directory entry
// survives, and lost clusters can remain). FAT has no owners and no permission bits: the mount
// options decide them, and nothing here can keep them.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace common
