#pragma once

#include <filesystem>
#include <string_view>

namespace common {

// Replaces `path` with `bytes` so that a crash, a full card or a pulled card leaves either the
// old file or the new one, never a truncated mix: the bytes go to a temporary file in the same
// folder, are flushed to the device, and the temporary file is renamed over `path`.
// Returns false (and leaves the old file as it was) when any step fails.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace common
