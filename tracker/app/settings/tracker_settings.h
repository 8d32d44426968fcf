#pragma once

#include <string>
#include <string_view>

#include "tracker/app/settings/settings_store.h"
#include "tracker/log/time_zone.h"

namespace tracker {

// The stored contract: organisation path and value names, with their types.
inline constexpr std::string_view kSettingsPath = "Tracker";
inline constexpr std::string_view kOpenPathKey = "OPENPATH";  // string
inline constexpr std::string_view kLanguageKey = "LANG";      // string: a language code
inline constexpr std::string_view kTimeZoneKey = "GMT";       // 32-bit number: 0-83

// The Open dialog's last folder; empty when none was stored.
std::string ReadOpenPath(const SettingsStore& store);
void WriteOpenPath(SettingsStore& store, std::string_view path);

// The stored language; Korean when missing or unknown.
int ReadLanguageIndex(const SettingsStore& store);
// Stores the code of language `index` (nothing for an index outside the table).
void WriteLanguageIndex(SettingsStore& store, int index);

// The stored time-zone entry; Seoul when missing or above 83.
int ReadTimeZoneIndex(const SettingsStore& store);
void WriteTimeZoneIndex(SettingsStore& store, int index);

// What the window starts with. Start-up selects both and so writes both back.
struct StartupSettings {
  int language_index = 0;
  int time_zone_index = 0;
  TimeZoneOffset zone;
};

StartupSettings ApplyStartupSettings(SettingsStore& store);

}  // namespace tracker
