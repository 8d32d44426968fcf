#pragma once

#include <filesystem>
#include <string_view>

namespace common {

// The folder of the programs' own small files (the last folders chosen): "blackbox" in
// $XDG_CONFIG_HOME, or in ~/.config when that is unset, empty or not absolute. Never the working
// folder: started from a card's folder, the programs would otherwise keep their files on the card.
std::filesystem::path UserConfigFolder();

// `name` in UserConfigFolder().
std::filesystem::path UserConfigFile(std::string_view name);

// Earlier versions kept such a file in the working folder. When `file` does not exist yet and
// `old` is a regular file (a link is not followed), `old`'s first `max_bytes` become `file`, so
// the old file is read this once and never again. Nothing happens otherwise, or on failure.
void AdoptOldFile(const std::filesystem::path& file, const std::filesystem::path& old, std::size_t max_bytes);

}  // namespace common
