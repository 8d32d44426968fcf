#pragma once

#include <cstdint>
#include <string>

#include "tracker/log/trip_record.h"
#include "tracker/log/units.h"

namespace tracker {

// A row's figures as texts, all numbers with "%.2f".
struct RowDisplay {
  std::string distance_km;
  std::string distance_miles;
  std::string average_kmh;
  std::string average_mph;
  std::string max_kmh;
  std::string max_mph;
  std::string driving_time;      // total time, hh:mm:ss
  std::string parking_duration;  // day and parking rows; "(days)  hh:mm:ss" from a day up
};

RowDisplay DisplayValues(const TripRecord& row);

// "%d%d:%d%d:%02d" of tens and units of hours, tens and units of minutes, seconds.
std::string DurationText(std::int64_t seconds);
// DurationText, with "(days)  " in front from one whole day up.
std::string ParkingDurationText(std::int64_t seconds);

}  // namespace tracker
