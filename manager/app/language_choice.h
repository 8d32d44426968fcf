#pragma once

#include <string>
#include <string_view>

#include "manager/setup/profile.h"

namespace app {

// The language section a build starts in, fixed for the whole run: the dual build's from the
// user's locale, the one-channel builds' from the English name of the system locale's language
// (`systemLocale`, a POSIX locale name such as "zh_HK.UTF-8").
std::string StartLanguageName(const setup::Profile& profile, std::string_view systemLocale);

}  // namespace app
