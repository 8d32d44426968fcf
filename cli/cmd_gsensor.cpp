#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/recording_data.h"
#include "manager/recording/samples.h"

namespace cli {
int RunGSensor(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"format"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1)
    return Fail(kExitBadArguments, "usage: blackbox gsensor FILE [--format json|csv]");
  const std::string format = parsed->Option("format", "json");
  if (format != "json" && format != "csv")
    return Fail(kExitBadArguments, "unknown format '" + format + "' (json or csv)");
  const std::string& path = parsed->positional[0];

  const RecordingData data = ReadRecordingData(path);
  if (IsUnreadable(data.load)) return Fail(kExitUnreadable, path + ": cannot be opened or read");
  if (!data.HasGSensorTable()) return Fail(kExitUnreadable, path + ": no G-sensor table in the recording");

  // The dual-channel camera stores Z, X, Y.
  const auto axes = [](const recording::GSensorSample& s) { return std::array{s.values[1], s.values[2], s.values[0]}; };

  const std::uint32_t count = recording::GSensorSampleCount(data.record);
  if (format == "csv") {
    std::cout << "index,v0,v1,v2,x,y,z\n";
    for (std::uint32_t i = 0; i < count; ++i) {
      const auto sample = recording::GSensorSampleAt(data.record, i);
      std::cout << i;
      for (const float v : sample.values) std::cout << ',' << FormatNumber(v);
      for (const float v : axes(sample)) std::cout << ',' << FormatNumber(v);
      std::cout << '\n';
    }
    return kExitOk;
  }
  auto array = nlohmann::ordered_json::array();
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto sample = recording::GSensorSampleAt(data.record, i);
    const auto xyz = axes(sample);
    nlohmann::ordered_json item;
    item["index"] = i;
    item["v0"] = JsonNumber(sample.values[0]);
    item["v1"] = JsonNumber(sample.values[1]);
    item["v2"] = JsonNumber(sample.values[2]);
    item["x"] = JsonNumber(xyz[0]);
    item["y"] = JsonNumber(xyz[1]);
    item["z"] = JsonNumber(xyz[2]);
    array.push_back(std::move(item));
  }
  std::cout << array.dump(2) << '\n';
  return kExitOk;
}

}  // namespace cli
