#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace language {

// Reads single values from a Windows-style INI file the way GetPrivateProfileStringW does, so
// that the language files written for the Windows program read the same here:
// - section and key names are compared without regard to (ASCII) case, blanks around them ignored;
// - blanks around a value are dropped, and a value in matching single or double quotes loses them;
// - lines starting with ';' are comments; the first matching section, and in it the first
//   matching key, wins;
// - the file may be UTF-8 with or without a byte-order mark, or UTF-16LE with one.
// The file is read anew at every call: there is no cache.
class IniFile {
 public:
  // A value is cut to this many UTF-16 code units (the 261-character buffer of the original).
  static constexpr std::size_t kMaxValueLength = 260;

  explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // The value of `key` in `section`, UTF-8; empty when the key is there with an empty value.
  // When the file, the section or the key is missing, or the key is empty, the result is
  // `fallback` without its trailing spaces, as Windows returns it. Both are cut to
  // kMaxValueLength.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

 private:
  std::filesystem::path path_;
};

// What IniFile::ReadString reads from a file, over the file's bytes.
std::string ReadIniString(std::string_view fileBytes, std::string_view section, std::string_view key,
                          std::string_view fallback);

}  // namespace language
