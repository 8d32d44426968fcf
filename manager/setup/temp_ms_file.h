#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// TempMS.ini remembers the last card folder chosen in the setup dialog, in the user's config
// folder (earlier in the working folder): the path as UTF-16LE code units, no byte-order mark,
// no terminator.
inline constexpr std::string_view kTempMsFileName = "TempMS.ini";

// At most this many bytes are read (260 code units).
inline constexpr std::size_t kTempMsMaxBytes = 520;

// The stored folder, UTF-8; nothing when the file is missing, unreadable or empty. Reading stops
// at a NUL code unit and an odd last byte is dropped.
std::optional<std::string> ReadTempMsFile(const std::filesystem::path& path);

// The same over the file's bytes (at most kTempMsMaxBytes of them count).
std::optional<std::string> TempMsFolderFromBytes(std::string_view bytes);

// Stores the chosen folder exactly as chosen (a drive root keeps its own separator), making the
// file's folder when missing.
bool WriteTempMsFile(const std::filesystem::path& path, std::string_view chosen_folder);

}  // namespace setup
