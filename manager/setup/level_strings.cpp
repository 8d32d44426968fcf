#include "manager/setup/level_strings.h"

#include <algorithm>

#include "manager/setup/profile.h"

namespace setup {

std::string_view LevelString(const Profile& profile, int index) {
  const auto& table = profile.level_strings;
  if (table.empty()) return {};
  const int last = static_cast<int>(table.size()) - 1;
  return table[static_cast<std::size_t>(std::clamp(index, 0, last))];
}

}  // namespace setup
