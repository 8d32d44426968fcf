#pragma once

#include <string>
#include <string_view>

namespace language {

// The version label's text, "Ver. 2.2.5.5" for ("Ver.", 2, 2, 5, 5): the label followed by the
// four numbers, as the profiles build their MANAGER_VERSION defaults.
std::string VersionText(std::string_view label, int major, int minor, int release, int build);

}  // namespace language
