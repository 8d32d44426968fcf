#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace library {

// The manager remembers the last chosen recordings folder in "TempMO.ini" in the user's config
// folder (earlier in the working folder): despite the name, the file is just the path's UTF-16LE
// code units, no byte-order mark, no terminator.
inline constexpr std::string_view kLastFolderFileName = "TempMO.ini";
inline constexpr std::size_t kLastFolderMaxWrite = 260;  // longer paths leave the file empty
inline constexpr std::size_t kLastFolderMaxRead = 259;   // what the folder dialog takes back

// Rewrites the file with `folder` (UTF-8), making its folder when missing. Returns false when it cannot be written; the
// old file then stays as it was.
bool WriteLastFolder(const std::filesystem::path& file, std::string_view folder);

// The folder stored in the file, or none when the file cannot be read.
std::optional<std::string> ReadLastFolder(const std::filesystem::path& file);

// The folder stored in the file's bytes.
std::string LastFolderFromBytes(std::string_view bytes);

}  // namespace library
