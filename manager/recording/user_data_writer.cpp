#include "manager/recording/user_data_writer.h"

#include <bit>
#include <cstdio>

#include "common/byte_order.h"
#include "common/nmea_sentence.h"

namespace recording {
namespace {

using common::AppendBigEndian32;
using common::AppendLittleEndian32;

using common::NmeaCoordinate;

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

std::string FormatRmcSentence(std::time_t utc, double latitude, double longitude, double knots, double course,
                              bool valid) {
  std::tm fields{};
  ::gmtime_r(&utc, &fields);
  char body[128];
  std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d,%c,%s,%c,%s,%c,%.2f,%.1f,%02d%02d%02d,,", fields.tm_hour,
                fields.tm_min, fields.tm_sec, valid ? 'A' : 'V', NmeaCoordinate(latitude, 2).c_str(),
                latitude < 0 ? 'S' : 'N', NmeaCoordinate(longitude, 3).c_str(), longitude < 0 ? 'W' : 'E', knots,
                course, fields.tm_mday, fields.tm_mon + 1, fields.tm_year % 100);
  return common::NmeaSentence(body);
}

}  // namespace recording
