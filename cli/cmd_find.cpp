#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "manager/timeline/card_timeline.h"
#include "tracker/log/local_time.h"

namespace cli {
namespace {

constexpr std::string_view kUsage =
    "usage: blackbox find CARD --time \"YYYY-MM-DD hh:mm:ss\" [--utc] [--json] [--tz INDEX] [--dst]";

std::string Seconds(std::int64_t units) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(units) / 1e7);
  return text;
}

nlohmann::ordered_json EntryJson(const timeline::TimelineEntry& entry, std::int64_t zone) {
  nlohmann::ordered_json item;
  item["path"] = entry.path;
  item["rear"] = entry.rear.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(entry.rear);
  item["cause"] = std::string(entry.cause);
  item["start_utc"] = timeline::MomentText(entry.start);
  item["start_camera"] = timeline::MomentText(entry.start + zone);
  item["start_from"] = entry.startFromSensor ? "time stamp" : "name";
  item["duration_seconds"] = static_cast<double>(entry.duration) / 1e7;
  return item;
}

}  // namespace

// Which recordings of a card show a moment, and where in each: what the tracker's "Play video"
// asks, for scripts and for checking a card by hand.
int RunFind(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"utc", "json", "dst"}, {"time", "tz"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("time")) return Fail(kExitBadArguments, kUsage);
  const std::string& card = parsed->positional[0];
  const auto moment = timeline::ParseMomentText(parsed->Option("time", ""));
  if (!moment) return Fail(kExitBadArguments, "--time wants \"YYYY-MM-DD hh:mm:ss\"");
  const std::optional<int> zoneIndex = TimeZoneIndexOption(*parsed);
  if (!zoneIndex) return kExitBadArguments;
  std::error_code fsError;
  if (!std::filesystem::is_directory(card, fsError))
    return Fail(kExitUnreadable, card + ": not a folder that can be read");

  // Without Setup.ini the camera is taken to run on the zone the tracker would use.
  const std::int64_t fallback = tracker::OffsetSeconds(tracker::TimeZoneOffsetAt(*zoneIndex), parsed->Has("dst"));
  const timeline::CardTimeline timeline = timeline::CardTimeline::Build(card, fallback);
  const std::int64_t zone = timeline.zone().offsetSeconds;
  const std::int64_t utc = parsed->Has("utc") ? *moment : *moment - zone;
  const auto matches = timeline.Find(utc);
  const timeline::TimelineEntry* nearest = matches.empty() ? timeline.Nearest(utc) : nullptr;

  if (parsed->Has("json")) {
    nlohmann::ordered_json out;
    out["moment_utc"] = timeline::MomentText(utc);
    out["moment_camera"] = timeline::MomentText(utc + zone);
    out["camera_zone_seconds"] = zone;
    out["zone_from"] = timeline.zone().fromCard ? "Setup.ini" : "--tz";
    auto array = nlohmann::ordered_json::array();
    for (const timeline::TimelineMatch& match : matches) {
      nlohmann::ordered_json item = EntryJson(*match.entry, zone);
      item["offset_seconds"] = static_cast<double>(match.offset) / 1e7;
      array.push_back(std::move(item));
    }
    out["matches"] = std::move(array);
    if (nearest) out["nearest"] = EntryJson(*nearest, zone);
    std::cout << out.dump(2) << '\n';
  } else {
    for (const timeline::TimelineMatch& match : matches) {
      std::cout << match.entry->cause << '\t' << timeline::MomentText(match.entry->start + zone) << '\t'
                << Seconds(match.offset) << '\t' << match.entry->path << '\n';
    }
  }
  std::cout.flush();
  if (matches.empty()) {
    Fail(kExitUnreadable, "no recording covers that moment");
    if (nearest) {
      std::cerr << "nearest recording: " << timeline::MomentText(nearest->start + zone) << " (camera time) "
                << nearest->path << '\n';
    }
    return kExitUnreadable;
  }
  return std::cout ? kExitOk : Fail(kExitUnreadable, "cannot write the answer");
}

}  // namespace cli
