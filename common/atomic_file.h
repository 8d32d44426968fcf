#pragma once

#include <filesystem>
#include <string>
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

enum class CardWrite {
  kWritten,
  kFailed,   // the file system refused, or a folder on the way is missing
  kLink,     // a symbolic link stands where the file or one of its folders should be
  kOutside,  // the path leads out of the card folder
};

enum class CardFolders { kExisting, kCreate };

// Writes a file of a memory card the way WriteFileAtomically does, but never through a link and
// never outside `card_folder`: a card copied to disk, an unpacked archive or an ext4 card can hold
// links that point anywhere, and the user asked to change the card, not what a link points at.
// `file` is a path below `card_folder` or one relative to it. The card folder itself may be
// reached through a link (it is the user's own choice); every name below it is opened without
// following one, and `kCreate` makes missing folders on the way.
CardWrite WriteCardFileAtomically(const std::filesystem::path& card_folder, const std::filesystem::path& file,
                                  std::string_view bytes, CardFolders folders = CardFolders::kExisting);

// What to tell the user about an outcome other than kWritten; the text begins with the file's path.
std::string CardWriteMessage(CardWrite outcome, const std::filesystem::path& file);

}  // namespace common
