#include "manager/setup/dialog/level_edit.h"

#include <charconv>
#include <system_error>

#include "common/trim.h"
#include "manager/setup/profile.h"

namespace setup {

LevelEditValue CheckLevelEdit(const Profile& profile, std::string_view text) {
  text = common::Trim(text, [](char c) { return c == ' '; });
  if (text.empty()) return {};
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return {.kind = LevelEditValue::Kind::NotInteger};
  if (error != std::errc() || value < profile.level_edit_min || value > profile.level_edit_max) {
    return {.kind = LevelEditValue::Kind::OutOfRange};
  }
  return {.kind = LevelEditValue::Kind::Valid, .value = static_cast<int>(value)};
}

}  // namespace setup
