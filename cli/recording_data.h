#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "manager/recording/sensor_record.h"

namespace cli {

// A recording's sensor record as the manager loads it, with both result codes.
struct RecordingData {
  recording::MVOXUDAT record;
  int load = recording::kLoadCannotOpen;
  std::optional<int> parse;  // none when the load failed and nothing was parsed

  bool HasTimeTable() const { return parse && *parse != recording::kParseNoCursor && *parse != recording::kParseNoTimeTable; }
  bool HasGpsTable() const { return parse && (*parse == recording::kParseOk || *parse == recording::kParseNoSensorTable); }
  bool HasGSensorTable() const { return parse && *parse == recording::kParseOk; }
};

RecordingData ReadRecordingData(const std::string& path);

// True when the file itself could not be opened or read (as opposed to holding no sensor data).
bool IsUnreadable(int loadCode);

// A time sample as "YYYY-MM-DD hh:mm:ss" in UTC; none for a negative value.
std::optional<std::string> FormatSampleTime(std::int32_t seconds);

// The shortest text that reads back as the same number.
std::string FormatNumber(double value);
std::string FormatNumber(float value);

}  // namespace cli
