#include "common/nmea_sentence.h"

#include <cmath>
#include <cstdio>

namespace common {

std::string NmeaSentence(std::string_view body) {
  unsigned checksum = 0;
  for (const char c : body) checksum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", checksum);
  std::string sentence = "$";
  sentence += body;
  sentence += tail;
  return sentence;
}

std::string NmeaCoordinate(double degrees, int degreeDigits) {
  const long long tenThousandths = std::llround(std::fabs(degrees) * 60.0 * 10000.0);
  const long long wholeDegrees = tenThousandths / (60 * 10000);
  const long long minutes = tenThousandths % (60 * 10000);
  char text[32];
  std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, wholeDegrees, minutes / 10000,
                minutes % 10000);
  return text;
}

}  // namespace common
