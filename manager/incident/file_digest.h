#pragma once

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>

namespace incident {

// The SHA-256 digest of a regular file as 64 lower-case hex digits; none when it cannot be read
// or `cancel` is set while reading.
std::optional<std::string> FileSha256(const std::filesystem::path& path, const std::atomic<bool>* cancel = nullptr);

}  // namespace incident
