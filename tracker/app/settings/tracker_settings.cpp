#include "tracker/app/settings/tracker_settings.h"

#include "tracker/app/settings/language_table.h"

namespace tracker {

std::string ReadOpenPath(const SettingsStore& store) { return store.ReadString(kOpenPathKey).value_or(std::string()); }

void WriteOpenPath(SettingsStore& store, std::string_view path) { store.WriteString(kOpenPathKey, path); }

int ReadLanguageIndex(const SettingsStore& store) {
  const std::optional<std::string> code = store.ReadString(kLanguageKey);
  if (!code) return kDefaultLanguageIndex;
  return LanguageIndexOfCode(*code).value_or(kDefaultLanguageIndex);
}

void WriteLanguageIndex(SettingsStore& store, int index) {
  if (index < 0 || index >= kLanguageCount) return;
  store.WriteString(kLanguageKey, kLanguages[static_cast<std::size_t>(index)].code);
}

int ReadTimeZoneIndex(const SettingsStore& store) {
  const std::optional<std::uint32_t> index = store.ReadNumber(kTimeZoneKey);
  if (!index || *index >= static_cast<std::uint32_t>(kTimeZoneCount)) return kDefaultTimeZoneIndex;
  return static_cast<int>(*index);
}

void WriteTimeZoneIndex(SettingsStore& store, int index) {
  if (index < 0 || index >= kTimeZoneCount) return;
  store.WriteNumber(kTimeZoneKey, static_cast<std::uint32_t>(index));
}

StartupSettings ApplyStartupSettings(SettingsStore& store) {
  StartupSettings settings;
  settings.language_index = ReadLanguageIndex(store);
  WriteLanguageIndex(store, settings.language_index);
  settings.time_zone_index = ReadTimeZoneIndex(store);
  WriteTimeZoneIndex(store, settings.time_zone_index);
  settings.zone = TimeZoneOffsetAt(settings.time_zone_index);
  return settings;
}

}  // namespace tracker
