#include "manager/language/language.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "common/path_text.h"

namespace language {
namespace {

struct LocaleEntry {
  std::string_view language;
  std::string_view territory;  // empty: the language without (or with an unknown) territory
  LanguageId id;
};

// Windows' identifiers for the locales whose languages have a section. Spanish keeps its
// regions (they share the primary language 0x0A); the Chinese ones decide between the sections.
constexpr std::array kLocaleIds = {
    LocaleEntry{"es", "", 0x0C0A},   LocaleEntry{"es", "ES", 0x0C0A}, LocaleEntry{"es", "MX", 0x080A},
    LocaleEntry{"es", "GT", 0x100A}, LocaleEntry{"es", "CR", 0x140A}, LocaleEntry{"es", "PA", 0x180A},
    LocaleEntry{"es", "DO", 0x1C0A}, LocaleEntry{"es", "VE", 0x200A}, LocaleEntry{"es", "CO", 0x240A},
    LocaleEntry{"es", "PE", 0x280A}, LocaleEntry{"es", "AR", 0x2C0A}, LocaleEntry{"es", "EC", 0x300A},
    LocaleEntry{"es", "CL", 0x340A}, LocaleEntry{"es", "UY", 0x380A}, LocaleEntry{"es", "PY", 0x3C0A},
    LocaleEntry{"es", "BO", 0x400A}, LocaleEntry{"es", "SV", 0x440A}, LocaleEntry{"es", "HN", 0x480A},
    LocaleEntry{"es", "NI", 0x4C0A}, LocaleEntry{"es", "PR", 0x500A}, LocaleEntry{"es", "US", 0x540A},
    LocaleEntry{"ja", "", 0x0411},   LocaleEntry{"ko", "", 0x0412},   LocaleEntry{"ru", "", 0x0419},
    LocaleEntry{"zh", "", 0x0804},   LocaleEntry{"zh", "CN", 0x0804}, LocaleEntry{"zh", "TW", 0x0404},
    LocaleEntry{"zh", "HK", 0x0C04}, LocaleEntry{"zh", "SG", 0x1004}, LocaleEntry{"zh", "MO", 0x1404},
};

// language[_territory][.codeset][@modifier] into language and territory.
std::pair<std::string_view, std::string_view> LocaleParts(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t underscore = locale.find('_');
  if (underscore == std::string_view::npos) return {locale, {}};
  return {locale.substr(0, underscore), locale.substr(underscore + 1)};
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The value of LANG in a shell-style assignment file such as /etc/locale.conf; empty without one.
std::string LangOfFile(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    std::string_view text = Trimmed(line);
    if (text.starts_with("export ")) text = Trimmed(text.substr(7));
    if (!text.starts_with("LANG=")) continue;
    text = Trimmed(text.substr(5));
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
      text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
  }
  return {};
}

}  // namespace

std::string_view LanguageNameForId(LanguageId id) {
  switch (id & 0xFF) {
    case 0x0A: return "Spanish";
    case 0x11: return "Japanese";
    case 0x12: return "Korean";
    case 0x19: return "Russian";
    case 0x04: return id == 0x0804 ? "ChineseS" : "ChineseT";
    default: return "English";
  }
}

LanguageId LanguageIdForLocale(std::string_view locale) {
  const auto [language, territory] = LocaleParts(locale);

  const LocaleEntry* languageOnly = nullptr;
  for (const LocaleEntry& entry : kLocaleIds) {
    if (entry.language != language) continue;
    if (entry.territory == territory) return entry.id;
    if (entry.territory.empty()) languageOnly = &entry;
  }
  return languageOnly != nullptr ? languageOnly->id : kEnglishUnitedStates;
}

std::string MessagesLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
  }
  return "C";
}

LanguageId GetUserDefaultLangID() { return LanguageIdForLocale(MessagesLocale()); }

std::string SystemLocale(const std::filesystem::path& root) {
  for (const char* file : {"etc/locale.conf", "etc/default/locale"}) {
    if (std::string lang = LangOfFile(root / file); !lang.empty()) return lang;
  }
  if (const char* lang = std::getenv("LANG"); lang != nullptr && *lang != '\0') return lang;
  return "C";
}

std::string LanguageNameForSystemLocale(std::string_view englishLanguageName, std::string_view locale) {
  if (englishLanguageName == "Chinese") {
    const std::string_view territory = LocaleParts(locale).second;
    return territory == "TW" || territory == "HK" || territory == "MO" ? "ChineseT" : "ChineseS";
  }
  if (englishLanguageName.empty() || englishLanguageName == "C") return "English";
  return std::string(englishLanguageName);
}

std::string LanguageFilePath(std::string_view programPath, std::string_view fileName) {
  // The folder keeps the separator the program path uses.
  std::string path(common::FolderOf(programPath));
  path += fileName;
  return path;
}

std::string ProgramPath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

}  // namespace language
