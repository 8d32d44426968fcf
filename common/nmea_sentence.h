#pragma once

#include <string>
#include <string_view>

namespace common {

// "$", the body, "*" and the XOR of the body's bytes as two upper-case hex digits: a whole NMEA
// sentence, as GPS receivers write them.
std::string NmeaSentence(std::string_view body);

// Degrees as NMEA's ddmm.mmmm (latitude, 2 degree digits) or dddmm.mmmm (longitude, 3), sign
// dropped, rounded on the minutes so that 59.99995' carries into the next degree.
std::string NmeaCoordinate(double degrees, int degreeDigits);

}  // namespace common
