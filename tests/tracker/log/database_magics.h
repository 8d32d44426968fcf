#pragma once

#include "tracker/log/trip_database.h"

namespace tracker_test {

// The two kinds of trip database the programs write.
inline constexpr tracker::DatabaseMagic kKelMagic = {'.', 'K', 'E', 'L'};
inline constexpr tracker::DatabaseMagic kRynMagic = {'.', 'R', 'Y', 'N'};

}  // namespace tracker_test
