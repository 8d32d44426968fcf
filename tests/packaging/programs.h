#pragma once

// The programs a user installs, as the tests expect to find them.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace packaging_test {

struct Program {
  std::string_view binary;
  std::string_view desktop_id;    // the .desktop file, icon and metainfo are named after it
  std::string_view menu_name;     // Name= of the menu entry
  std::string_view version_line;  // what --version prints
};

inline constexpr Program kAllPrograms[] = {
    {"kel2ch-manager", "org.blackbox_dashcam.Kel2CHManager", "Kel2CH Manager", ""},
    {"kel-manager", "org.blackbox_dashcam.KelManager", "Kel Manager", ""},
    {"ryn-manager", "org.blackbox_dashcam.RynManager", "Ryn Manager", ""},
    {"kel-tracker", "org.blackbox_dashcam.KelTracker", "Kel Tracker", "Kel Tracker 2.0.0.6"},
    {"lumaro-tracker", "org.blackbox_dashcam.LumaroTracker", "Lumaro Tracker", "Lumaro Lumaro Tracker 1.0.0.2"},
};

// The GUI programs this tree builds (BLACKBOX_PROGRAMS, comma-separated, from CMake: a program
// whose sources have not landed yet is left out).
inline std::vector<Program> BuiltPrograms() {
  std::vector<Program> built;
  const std::string_view names = BLACKBOX_PROGRAMS;
  for (const Program& program : kAllPrograms) {
    std::size_t start = 0;
    while (start <= names.size()) {
      const std::size_t end = std::min(names.find(',', start), names.size());
      if (names.substr(start, end - start) == program.binary) built.push_back(program);
      start = end + 1;
    }
  }
  return built;
}

}  // namespace packaging_test
