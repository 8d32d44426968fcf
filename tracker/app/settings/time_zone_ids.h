#pragma once

#include "tracker/log/time_zone.h"

namespace tracker {

// The time-zone entries are string resources 1000-1083, in the order of the time-zone box.
inline constexpr int kFirstTimeZoneStringId = 1000;

constexpr int TimeZoneStringId(int index) { return kFirstTimeZoneStringId + index; }

}  // namespace tracker
