#pragma once

#include <ctime>
#include <vector>

#include "tools/samplecard/random.h"

namespace samplecard {

// One second of a drive as the GPS receiver reports it.
struct RouteFix {
  std::time_t utc = 0;
  double latitude = 0;
  double longitude = 0;
  double knots = 0;
  double course = 0;  // degrees from north
  bool valid = true;  // false while the receiver has no fix (status V)
};

struct Place {
  double latitude = 37.5665;  // Seoul City Hall
  double longitude = 126.9780;
};

// A plausible drive of `seconds` seconds from `from`: standing at first, pulling away, speeds
// between 0 and 100 km/h with stops at lights, gentle turns, and now and then a few seconds
// without a fix. One fix a second; `from` is moved to where the drive ends.
std::vector<RouteFix> Drive(Random& random, std::time_t start, int seconds, Place& from);

}  // namespace samplecard
