#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace language {

// A Windows language identifier: the primary language in the low byte, the region above it.
// The language files were written for these, so the choice of section is made on them.
using LanguageId = std::uint16_t;

inline constexpr LanguageId kEnglishUnitedStates = 0x0409;

// Language file names: the dual profile's (the default), and the park and brand profiles'.
inline constexpr std::string_view kDualLanguageFileName = "2CH_Managerlang.ini";
inline constexpr std::string_view kOneChannelLanguageFileName = "Managerlang.ini";

// The section of the language file for a language: "Spanish", "Japanese", "Korean", "Russian",
// "ChineseS" (only for 0x0804), "ChineseT" (any other Chinese) or "English".
std::string_view LanguageNameForId(LanguageId id);

// The identifier Windows would give a POSIX locale name such as "es_MX.UTF-8",
// "zh_TW.UTF-8@variant", "C" or "POSIX". Only the languages that have a section in the language
// files are told apart; every other locale is English (United States).
LanguageId LanguageIdForLocale(std::string_view locale);

// The locale of the user's messages as the C library chooses it: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, else "C".
std::string MessagesLocale();

// Stands in for the Windows call of the same name: the identifier of the user's locale.
LanguageId GetUserDefaultLangID();

// The system's default locale, which the system sets for every user (a user's own may differ):
// LANG in `root`/etc/locale.conf, or else in `root`/etc/default/locale; without either, the LANG
// this process was started with; "C" when none is set.
std::string SystemLocale(const std::filesystem::path& root = "/");

// The section the one-channel builds choose: the English name of the system locale's language
// (`englishLanguageName`, as the system names it: "German" for de_DE), except that Chinese is
// "ChineseT" in the regions written in traditional characters (code page 950 on Windows: Taiwan,
// Hong Kong, Macao) and "ChineseS" elsewhere (936). No name, or the C locale's, is "English".
std::string LanguageNameForSystemLocale(std::string_view englishLanguageName, std::string_view locale);

// The language file next to the program: `programPath` cut after its last separator ('/' or
// '\', so that Windows-style paths work too), followed by `fileName`. A program path without a
// separator gives `fileName` alone, a path relative to the working folder.
std::string LanguageFilePath(std::string_view programPath, std::string_view fileName = kDualLanguageFileName);

// The full path of the running program file, or empty when the system does not tell.
std::string ProgramPath();

}  // namespace language
