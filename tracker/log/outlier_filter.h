#pragma once

#include <functional>

#include "tracker/log/scan_host.h"
#include "tracker/log/track_point.h"

namespace tracker {

// Thresholds of the outlier filter.
inline constexpr int kBreakGapSeconds = 30;
inline constexpr double kBreakSpeed = 300.0 / 3.6;        // m/s
inline constexpr double kSegmentRateLimit = 100.0 / 3.6;  // mean m/s of a suspect segment
inline constexpr double kImplausibleRate = 250.0 / 3.6;   // mean m/s no car drives
inline constexpr double kJumpSpeed = 2500.0;              // m/s of the break before a segment

// Drops implausible runs of fixes, in reading order: the fixes are cut into segments at every
// pair more than 30 s or 300 km/h apart, and every segment but the first is judged on its good
// pairs: a fast segment goes when it was entered by a jump or is faster than any car; short,
// standing and hair-thin runs go. The points of kept segments stay, in order, including the
// last fix when its pair's segment is kept. Works in place, on every core. Stops early, leaving
// the points as they were, when `host` cancels.
void FilterOutliers(PointStore& points, ScanHost& host);

}  // namespace tracker
