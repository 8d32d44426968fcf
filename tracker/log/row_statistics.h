#pragma once

#include <atomic>
#include <cstdint>

#include "tracker/log/track_point.h"
#include "tracker/log/trip_record.h"

namespace tracker {

// Pairs further apart than this are left out of a row's times and distance.
inline constexpr int kLongestCountedGap = 599;

// Fills one row's distance, times and speeds from its points. A parking row gets only its
// parking time (local times, cut at the end of its first day). A row whose points lie outside
// the store gets zeros.
void ComputeRowStatistics(TripRecord& row, const PointStore& points, std::int64_t offset_seconds);

// The same for every row of a table; day and drive rows that cover the points in runs, as the
// trip builder makes them, are summed in one walk over the points. False when cancelled.
bool ComputeAllRowStatistics(RowTable& rows, const PointStore& points, std::int64_t offset_seconds,
                             const std::atomic<bool>& cancel);

// Sets each day row's parking time to the sum of the parking rows that start on its date.
void SumParkingIntoDays(RowTable& rows);

}  // namespace tracker
