#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/recording_data.h"
#include "common/path_text.h"
#include "manager/library/recording_name.h"
#include "manager/recording/samples.h"
#include "manager/recording/structure_check.h"

namespace cli {

int RunInfo(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"json"}, {}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1) return Fail(kExitBadArguments, "usage: blackbox info FILE [--json]");
  const std::string& path = parsed->positional[0];

  const RecordingData data = ReadRecordingData(path);
  if (IsUnreadable(data.load)) return Fail(kExitUnreadable, path + ": cannot be opened or read");

  const auto& record = data.record;
  const std::uint32_t times = data.HasTimeTable() ? recording::TimeSampleCount(record) : 0;
  std::optional<std::string> firstTime;
  if (times > 0) firstTime = FormatSampleTime(recording::TimeSampleAt(record, 0));

  nlohmann::ordered_json info;
  info["name"] = std::string(common::FileNameOf(path));
  info["date"] = library::RecordingDateText(path);
  info["time"] = library::RecordingTimeText(path);
  info["cause"] = std::string(library::RecordingCause(path));
  info["sortKey"] = std::string(library::RecordingSortKey(path));
  info["companion"] = library::CompanionPath(path);
  info["structure"] = recording::CheckRecordingStructure(path);
  info["load"] = data.load;
  info["parse"] = data.parse ? nlohmann::ordered_json(*data.parse) : nlohmann::ordered_json(nullptr);
  info["timeSamples"] = times;
  info["gpsSamples"] = data.HasGpsTable() ? recording::GpsSampleCount(record) : 0;
  info["gsensorSamples"] = data.HasGSensorTable() ? recording::GSensorSampleCount(record) : 0;
  info["firstTime"] = firstTime ? nlohmann::ordered_json(*firstTime) : nlohmann::ordered_json(nullptr);

  if (parsed->Has("json")) {
    std::cout << info.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    for (const auto& [key, value] : info.items()) {
      std::cout << key << ": " << (value.is_string() ? value.get<std::string>() : value.dump()) << '\n';
    }
  }
  return kExitOk;
}

}  // namespace cli
