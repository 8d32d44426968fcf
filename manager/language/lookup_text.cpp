#include "manager/language/lookup_text.h"

#include <utility>

#include "common/text_encoding.h"
#include "manager/language/ini_file.h"
#include "manager/language/utf16_cut.h"

namespace language {
namespace {

LanguageTable& ProcessTable() {
  static LanguageTable table;
  return table;
}

}  // namespace

LanguageTable::LanguageTable() : languageName_("English") {}

LanguageTable::LanguageTable(std::string languageName, std::filesystem::path languageFilePath)
    : languageName_(std::move(languageName)), languageFilePath_(std::move(languageFilePath)) {}

std::string LanguageTable::LookupText(std::string_view key, std::string_view fallback) const {
  if (key.empty() || languageName_.empty()) return {};
  const std::string value = IniFile(languageFilePath_).ReadString(languageName_, key, fallback);
  const std::string_view text = value.empty() ? fallback : value;
  if (text.size() <= kMaxTextLength) return std::string(text);  // fewer bytes than units: no cut
  return common::Utf16ToUtf8(FirstUtf16Units(common::Utf8ToUtf16(text), kMaxTextLength));
}

const LanguageTable& CurrentLanguageTable() { return ProcessTable(); }

void SetCurrentLanguageTable(LanguageTable table) { ProcessTable() = std::move(table); }

std::string LookupText(std::string_view key, std::string_view fallback) {
  return CurrentLanguageTable().LookupText(key, fallback);
}

std::string LookupText(TextKey key) { return CurrentLanguageTable().LookupText(key); }

}  // namespace language
