#pragma once

#include <QString>

#include "manager/language/lookup_text.h"
#include "manager/setup/list_entry.h"

namespace setup {

// A display text of the setup dialogs through the language table.
inline QString DialogText(const ListEntry& entry) {
  if (entry.key.empty()) return QString::fromUtf8(entry.fallback.data(), static_cast<qsizetype>(entry.fallback.size()));
  return QString::fromStdString(language::LookupText(entry));
}

// The language table's lookup for the core's list and message helpers.
inline TextLookup DialogTextLookup() {
  return [](std::string_view key, std::string_view fallback) { return language::LookupText(key, fallback); };
}

}  // namespace setup
