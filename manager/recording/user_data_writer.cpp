#include "manager/recording/user_data_writer.h"

#include <bit>
#include <cmath>
#include <cstdio>

#include "common/byte_order.h"

namespace recording {
namespace {

using common::AppendBigEndian32;
using common::AppendLittleEndian32;

// Degrees to the NMEA ddmm.mmmm form.
std::string NmeaAngle(double degrees, int degreeDigits) {
  degrees = std::fabs(degrees);
  int whole = static_cast<int>(degrees);
  double minutes = (degrees - whole) * 60.0;
  if (minutes >= 59.99995) {
    minutes = 0;
    ++whole;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, whole, minutes);
  return text;
}

}  // namespace

std::string BuildBox(std::string_view type, std::string_view payload) {
  std::string box;
  box.reserve(8 + payload.size());
  AppendBigEndian32(box, static_cast<std::uint32_t>(8 + payload.size()));
  box.append(type.substr(0, 4));
  box.append(payload);
  return box;
}

std::string BuildUserDataBox(const UserDataContent& content) {
  std::string times;
  for (const std::int32_t t : content.times) AppendLittleEndian32(times, static_cast<std::uint32_t>(t));

  std::string gps;
  for (const std::string& sentence : content.gpsSentences) {
    std::string sample = sentence.substr(0, 64);
    sample.resize(64, '\0');
    gps += sample;
  }

  std::string sens;
  for (const auto& values : content.gsensor) {
    for (const float v : values) AppendLittleEndian32(sens, std::bit_cast<std::uint32_t>(v));
  }

  return BuildBox("udta", BuildBox(content.timeType, times) + BuildBox("GPSI", gps) + BuildBox("SENS", sens));
}

std::string FormatRmcSentence(std::time_t utc, double latitude, double longitude, double knots,
                              double course, bool valid) {
  std::tm fields{};
  ::gmtime_r(&utc, &fields);
  char body[128];
  std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d,%c,%s,%c,%s,%c,%.2f,%.1f,%02d%02d%02d,,",
                fields.tm_hour, fields.tm_min, fields.tm_sec, valid ? 'A' : 'V',
                NmeaAngle(latitude, 2).c_str(), latitude < 0 ? 'S' : 'N', NmeaAngle(longitude, 3).c_str(),
                longitude < 0 ? 'W' : 'E', knots, course, fields.tm_mday, fields.tm_mon + 1,
                fields.tm_year % 100);
  unsigned checksum = 0;
  for (const char* c = body; *c != '\0'; ++c) checksum ^= static_cast<unsigned char>(*c);
  char sentence[160];
  std::snprintf(sentence, sizeof sentence, "$%s*%02X", body, checksum);
  return sentence;
}

}  // namespace recording
