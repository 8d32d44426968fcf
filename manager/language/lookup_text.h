#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "manager/language/text_keys.h"

namespace language {

// The longest text LookupText gives, in UTF-16 code units (a 2048-character buffer with its
// terminator on Windows).
inline constexpr std::size_t kMaxTextLength = 2047;

// The language the texts are shown in: the section of the language file and the file itself.
// Fixed once at start-up; there is no language menu.
class LanguageTable {
 public:
  // English without a file, so that every text is its built-in default: what a process has
  // until start-up sets its table (the command-line tool and tests never do).
  LanguageTable();
  LanguageTable(std::string languageName, std::filesystem::path languageFilePath);

  const std::string& language_name() const { return languageName_; }
  const std::filesystem::path& language_file_path() const { return languageFilePath_; }

  // The display text of `key`, UTF-8: the value in the file, or `fallback` when the file,
  // section or key is missing or the value is empty. Empty when `key` or the language name is.
  // The file is read at every call, so a text shows the file as it is now.
  std::string LookupText(std::string_view key, std::string_view fallback) const;
  std::string LookupText(TextKey key) const { return LookupText(key.key, key.fallback); }

 private:
  std::string languageName_;
  std::filesystem::path languageFilePath_;
};

// The process-wide table. Start-up sets it before any window exists; everything runs on the
// user-interface thread, so it is not guarded.
const LanguageTable& CurrentLanguageTable();
void SetCurrentLanguageTable(LanguageTable table);

// LookupText through the process-wide table: what every window calls.
std::string LookupText(std::string_view key, std::string_view fallback);
std::string LookupText(TextKey key);

}  // namespace language
