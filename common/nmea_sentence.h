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

// What a sentence's "*hh" tail says about the characters between its first character ('$')
// and the '*'. A tail is there when two characters follow the '*'; without one (older
// receivers, or a sentence cut at the end of its record) nothing can be checked.
enum class NmeaChecksum { kAbsent, kGood, kBad };
NmeaChecksum CheckNmeaChecksum(std::string_view sentence);
// The same when the caller already knows where the first '*' is (npos: nowhere).
NmeaChecksum CheckNmeaChecksum(std::string_view sentence, std::size_t star);

}  // namespace common
