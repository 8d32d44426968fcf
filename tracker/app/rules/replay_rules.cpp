#include "tracker/app/rules/replay_rules.h"

#include <cstdio>

namespace tracker {

std::string SpeedEntryText(int step) {
  char text[32];
  std::snprintf(text, sizeof text, "  x%3d", step);
  return text;
}

}  // namespace tracker
