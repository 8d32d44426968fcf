#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "manager/recording/sensor_record.h"

namespace cli {

// A recording's sensor record as the manager loads it, with both result codes.
struct RecordingData {
  recording::SensorRecord record;
  int load = recording::kLoadCannotOpen;
  std::optional<int> parse;  // none when the load failed and nothing was parsed

  bool HasTimeTable() const {
    return parse && *parse != recording::kParseNoCursor && *parse != recording::kParseNoTimeTable;
  }
  bool HasGpsTable() const {
    return parse && (*parse == recording::kParseOk || *parse == recording::kParseNoSensorTable);
  }
  bool HasGSensorTable() const { return parse && *parse == recording::kParseOk; }
};

RecordingData ReadRecordingData(const std::string& path);

// True when the file itself could not be opened or read (as opposed to holding no sensor data).
bool IsUnreadable(int loadCode);

// A time sample as "YYYY-MM-DD hh:mm:ss" in UTC; none for a negative value.
std::optional<std::string> FormatSampleTime(std::int32_t seconds);

// The shortest text that reads back as the same number. Decoded GPS values and G-sensor samples
// are single precision: printed as floats, 37.5651f shows as 37.5651, not 37.565101623535156.
std::string FormatNumber(float value);

// The same as a JSON number; null for NaN or infinity (a damaged sample), which JSON cannot carry.
nlohmann::ordered_json JsonNumber(float value);

}  // namespace cli
