#pragma once

// The drive of a recording as the map draws it: every GPS sample of the sensor record that
// holds a valid fix, in recording order, as (latitude, longitude) in degrees.
#include <array>
#include <vector>

#include "manager/recording/sensor_record.h"

namespace display {

using LatLng = std::array<double, 2>;

// A position the map can take: finite, latitude within -90..90 and longitude within
// -180..180. A garbled sentence can decode to anything, and nothing else may reach the page.
bool IsMapPosition(double latitude, double longitude);

// The valid fixes of `record`: samples without a fix, without a position (0 in either value)
// or off the globe are left out. Empty when the record holds no data.
std::vector<LatLng> RecordingTrack(const recording::SensorRecord& record);

}  // namespace display
