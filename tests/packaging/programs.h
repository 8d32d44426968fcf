#pragma once

// The programs a user installs, as the tests expect to find them.
#include <string_view>

namespace packaging_test {

struct Program {
  std::string_view binary;
  std::string_view desktop_id;    // the .desktop file, icon and metainfo are named after it
  std::string_view menu_name;     // Name= of the menu entry
  std::string_view version_line;  // what --version prints
};

inline constexpr Program kPrograms[] = {
    {"kel2ch-manager", "org.blackbox_dashcam.Kel2CHManager", "Kel2CH Manager", "Kel2CH Manager 2.2.5.5"},
    {"kel-manager", "org.blackbox_dashcam.KelManager", "Kel Manager", "Kel Manager 1.2.1.4"},
    {"ryn-manager", "org.blackbox_dashcam.RynManager", "Ryn Manager", "Ryn Manager 1.2.5.4"},
    {"kel-tracker", "org.blackbox_dashcam.KelTracker", "Kel Tracker", "Kel Tracker 2.0.0.6"},
    {"lumaro-tracker", "org.blackbox_dashcam.LumaroTracker", "Lumaro Tracker", "Lumaro Lumaro Tracker 1.0.0.2"},
};

}  // namespace packaging_test
