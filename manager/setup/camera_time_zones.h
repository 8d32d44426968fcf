#pragma once

#include <array>
#include <string_view>

namespace setup {

// The camera's time-zone list; Setup.ini stores the index (TimeZone). The texts are the
// camera's own, spelling and trailing blanks included, and are never translated.
extern const std::array<std::string_view, 84> kCameraTimeZones;

}  // namespace setup
