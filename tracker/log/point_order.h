#pragma once

#include "tracker/log/scan_host.h"
#include "tracker/log/track_point.h"

namespace tracker {

// Sorts the fixes by date, then time, and removes every fix whose date and time equal those
// of the fix before it, so each second is kept once: the copy read first. Returns false (the
// store left in an unspecified order) when `host` cancels.
bool SortAndRemoveDuplicates(PointStore& points, ScanHost& host);

}  // namespace tracker
