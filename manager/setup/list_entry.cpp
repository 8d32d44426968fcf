#include "manager/setup/list_entry.h"

namespace setup {

std::string EntryText(const ListEntry& entry, const TextLookup& lookup) {
  if (entry.key.empty() || !lookup) return std::string(entry.fallback);
  return lookup(entry.key, entry.fallback);
}

}  // namespace setup
