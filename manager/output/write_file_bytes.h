#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace output {

// Writes the bytes to `path` through a temporary file renamed over it, so a failed write never
// leaves a truncated picture. True when written.
bool WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace output
