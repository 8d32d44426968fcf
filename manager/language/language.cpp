#include "manager/language/language.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

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
  // language[_territory][.codeset][@modifier]
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t underscore = locale.find('_');
  const std::string_view language = locale.substr(0, underscore);
  const std::string_view territory =
      underscore == std::string_view::npos ? std::string_view() : locale.substr(underscore + 1);

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
