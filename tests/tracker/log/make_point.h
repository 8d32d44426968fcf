#pragma once

#include <cstdio>
#include <string>

#include "tracker/log/field_text.h"
#include "tracker/log/track_point.h"

namespace tracker_test {

// A stored fix as the reader would make it; coordinates in degrees, speed as text.
inline tracker::TrackPoint MakePoint(int date, int time, double latitude, double longitude,
                                     const char* speed = "000.0") {
  tracker::TrackPoint point{};
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", latitude);
  tracker::SetFieldText(point.latitude, std::string(text).substr(0, 8));
  std::snprintf(text, sizeof text, "%.6f", longitude);
  tracker::SetFieldText(point.longitude, std::string(text).substr(0, 9));
  std::snprintf(text, sizeof text, "%08d", date);
  tracker::SetFieldText(point.date, text);
  std::snprintf(text, sizeof text, "%06d", time);
  tracker::SetFieldText(point.time, text);
  tracker::SetFieldText(point.speed, speed);
  point.date_number = date;
  point.time_number = time;
  return point;
}

// hhmmss of a second count within a day.
inline int Clock(int seconds) { return seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60; }

}  // namespace tracker_test
