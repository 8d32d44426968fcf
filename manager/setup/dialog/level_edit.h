#pragma once

#include <string_view>

namespace setup {

struct Profile;

// What the text of a level number edit amounts to.
struct LevelEditValue {
  enum class Kind {
    Empty,  // nothing typed yet: wait
    NotInteger,
    OutOfRange,  // outside the profile's edit range
    Valid,
  };
  Kind kind = Kind::Empty;
  int value = 0;  // Valid only; the slider clamps it to its own range
};

// The profile accepts 0..30 (dual) or 0..20 in the edits; blanks around the number are allowed.
LevelEditValue CheckLevelEdit(const Profile& profile, std::string_view text);

}  // namespace setup
