#include "cli/recording_data.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace cli {

RecordingData ReadRecordingData(const std::string& path) {
  RecordingData data;
  data.load = recording::LoadUserData(path, data.record);
  if (data.load == recording::kLoadOk) {
    data.record.cursor = 0;
    data.parse = recording::ParseUserData(data.record);
    data.record.noData = *data.parse == recording::kParseOk ? 0 : 1;
  }
  return data;
}

bool IsUnreadable(int loadCode) {
  return loadCode == recording::kLoadCannotOpen || loadCode == recording::kLoadReadFailed ||
         loadCode == recording::kLoadNoSize;
}

std::optional<std::string> FormatSampleTime(std::int32_t seconds) {
  if (seconds < 0) return std::nullopt;
  const std::time_t t = seconds;
  std::tm fields{};
  if (::gmtime_r(&t, &fields) == nullptr) return std::nullopt;
  char text[64];  // room for any int fields, though a 32-bit time never needs it
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields.tm_year + 1900, fields.tm_mon + 1,
                fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
  return text;
}

std::string FormatNumber(float value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

nlohmann::ordered_json JsonNumber(float value) {
  if (!std::isfinite(value)) return nullptr;
  return nlohmann::ordered_json::parse(FormatNumber(value));
}

}  // namespace cli
