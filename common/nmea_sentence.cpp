#include "common/nmea_sentence.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace common {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

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
  std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, wholeDegrees, minutes / 10000, minutes % 10000);
  return text;
}

NmeaChecksum CheckNmeaChecksum(std::string_view sentence) { return CheckNmeaChecksum(sentence, sentence.find('*')); }

NmeaChecksum CheckNmeaChecksum(std::string_view sentence, std::size_t star) {
  if (star == std::string_view::npos || star == 0 || sentence.size() - star < 3) return NmeaChecksum::kAbsent;
  // Eight bytes at a time: the exclusive or of all bytes is that of the words' bytes.
  std::uint64_t words = 0;
  std::size_t i = 1;
  for (; i + 8 <= star; i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, sentence.data() + i, sizeof word);
    words ^= word;
  }
  words ^= words >> 32;
  words ^= words >> 16;
  words ^= words >> 8;
  unsigned sum = static_cast<unsigned>(words & 0xFF);
  for (; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
  const int high = HexDigit(sentence[star + 1]);
  const int low = HexDigit(sentence[star + 2]);
  if (high < 0 || low < 0) return NmeaChecksum::kBad;
  return static_cast<unsigned>(high * 16 + low) == sum ? NmeaChecksum::kGood : NmeaChecksum::kBad;
}

}  // namespace common
