#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/recording_data.h"
#include "cli/still_frame.h"
#include "manager/library/folder_scan.h"
#include "manager/library/recording_name.h"
#include "manager/recording/impact.h"
#include "manager/recording/movie_duration.h"

namespace cli {
namespace {

struct Event {
  std::string path;
  float g = 0;
  double seconds = 0;               // into the recording
  std::optional<std::string> time;  // the time sample there
};

// A recording's largest change of force and where it lies. Without a movie header the samples
// are placed by the time table, which holds one sample a second.
std::optional<Event> EventOf(const std::string& path) {
  RecordingData data = ReadRecordingData(path);
  if (!data.HasGSensorTable()) return std::nullopt;
  const auto samples = recording::GSensorSamples(data.record);
  const auto peak = recording::FindImpact(samples);
  if (!peak) return std::nullopt;
  data.record.duration =
      recording::ReadMovieDuration(path).value_or(std::int64_t{recording::TimeSampleCount(data.record)} * 10'000'000);
  Event event{path, peak->g, 0, std::nullopt};
  const std::int64_t position =
      recording::SampleStart(peak->index, static_cast<std::uint32_t>(samples.size()), data.record.duration);
  event.seconds = static_cast<double>(position) / kUnitsPerSecond;
  if (const auto time = recording::FindTimeSample(data.record, position)) event.time = FormatSampleTime(*time);
  return event;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

int RunEvents(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"json"}, {"min-g"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1)
    return Fail(kExitBadArguments, "usage: blackbox events CARD [--min-g G] [--json]");
  const auto minimum = ParseSeconds(parsed->Option("min-g", "0"));
  if (!minimum) return Fail(kExitBadArguments, "--min-g needs a number of g, 0 or more");
  const std::string& folder = parsed->positional[0];
  std::error_code fsError;
  if (!std::filesystem::is_directory(folder, fsError))
    return Fail(kExitUnreadable, folder + ": not a folder that can be read");

  library::StubHandling stubs;
  stubs.remove = false;  // listing impacts changes nothing on the card
  const library::SortedPathList paths = library::BuildRecordingList(folder, stubs);
  std::vector<Event> events;
  for (const std::string& path : paths.paths()) {
    auto event = EventOf(path);
    if (!event) {
      std::cerr << "no G-sensor record: " << path << '\n';
      continue;
    }
    if (static_cast<double>(event->g) >= *minimum) events.push_back(std::move(*event));
  }
  // Largest first; equal changes keep the list's order (by time).
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.g > b.g; });

  if (parsed->Has("json")) {
    auto array = nlohmann::ordered_json::array();
    for (const Event& event : events) {
      nlohmann::ordered_json item;
      item["path"] = event.path;
      item["cause"] = std::string(library::RecordingCause(event.path));
      item["g"] = JsonNumber(event.g);
      item["seconds"] = std::round(event.seconds * 1000) / 1000;
      item["time"] = event.time ? nlohmann::ordered_json(*event.time) : nlohmann::ordered_json(nullptr);
      array.push_back(std::move(item));
    }
    std::cout << array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    for (const Event& event : events) {
      std::cout << Fixed(event.g, 2) << " g\t" << Fixed(event.seconds, 1) << " s\t"
                << event.time.value_or("0000-00-00 00:00:00") << '\t' << library::RecordingCause(event.path) << '\t'
                << event.path << '\n';
    }
  }
  std::cout.flush();
  return std::cout ? kExitOk : Fail(kExitUnreadable, "cannot write the list");
}

}  // namespace cli
