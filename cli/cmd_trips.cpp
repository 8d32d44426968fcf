#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "tracker/app/rules/row_display.h"
#include "tracker/app/rules/row_list.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/trip_database.h"

namespace cli {

namespace {

// The row kind in the tracker's English words.
std::string_view KindWord(tracker::RowType type) {
  return tracker::Text(0, tracker::RowKindTextItem(type), tracker::kCurrentProfile);
}

void PrintText(const tracker::TrackDocument& document, std::int64_t display_offset) {
  std::string out;
  for (const std::int32_t index : document.trips.order) {
    const tracker::TripRecord& row = document.trips.rows[static_cast<std::size_t>(index)];
    const tracker::RowDisplay shown = tracker::DisplayValues(row);
    const tracker::ListItem item = tracker::MakeListItem(row, document.points, display_offset);
    out += item.columns[0];
    if (!item.columns[1].empty()) out += '\t' + item.columns[1] + '\t' + item.columns[2];
    out += '\t' + std::string(KindWord(row.type)) + '\t' + shown.distance_km + " km\t" + shown.distance_miles +
           " mile\t" + shown.driving_time + '\t' + shown.parking_duration + '\t' + shown.average_kmh + " km/h\t" +
           shown.average_mph + " mile/h\t" + shown.max_kmh + " km/h\t" + shown.max_mph + " mile/h\n";
  }
  std::cout << out;
}

void PrintJson(const tracker::TrackDocument& document) {
  auto array = nlohmann::ordered_json::array();
  for (const std::int32_t index : document.trips.order) {
    const tracker::TripRecord& row = document.trips.rows[static_cast<std::size_t>(index)];
    const tracker::RowDisplay shown = tracker::DisplayValues(row);
    nlohmann::ordered_json item;
    item["type"] = static_cast<int>(row.type);
    item["startDate"] = std::string(tracker::FieldText(row.start_date));
    item["startTime"] = std::string(tracker::FieldText(row.start_time));
    item["pointCount"] = row.point_count;
    item["firstPoint"] = row.first_point;
    item["distance"] = row.distance;
    item["totalTime"] = row.total_time;
    item["stopTime"] = row.stop_time;
    item["parkingTime"] = row.parking_time;
    item["speedSum"] = row.speed_sum;
    item["maxSpeed"] = row.max_speed;
    item["distanceKm"] = shown.distance_km;
    item["distanceMiles"] = shown.distance_miles;
    item["averageKmh"] = shown.average_kmh;
    item["averageMph"] = shown.average_mph;
    item["maxKmh"] = shown.max_kmh;
    item["maxMph"] = shown.max_mph;
    item["drivingTime"] = shown.driving_time;
    item["parkingDuration"] = shown.parking_duration;
    array.push_back(std::move(item));
  }
  std::cout << array.dump(2) << '\n';
}

}  // namespace

int RunTrips(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"dst", "json"}, {"tz"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1) return Fail(kExitBadArguments, "trips needs one folder or trip database");

  int zone_index = tracker::kDefaultTimeZoneIndex;
  const std::string tz = parsed->Option("tz", std::to_string(tracker::kDefaultTimeZoneIndex));
  std::size_t used = 0;
  try {
    zone_index = std::stoi(tz, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != tz.size() || zone_index < 0 || zone_index >= tracker::kTimeZoneCount) {
    return Fail(kExitBadArguments, "--tz takes a time-zone index from 0 to 83, not '" + tz + "'");
  }
  const tracker::TimeZoneOffset zone = tracker::TimeZoneOffsetAt(zone_index);

  tracker::TrackDocument document;
  if (const int status = OpenTrackPath(parsed->positional[0], zone, ProfileForFile(parsed->positional[0]), document);
      status != kExitOk) {
    return status;
  }
  if (parsed->Has("json")) {
    PrintJson(document);
  } else {
    PrintText(document, tracker::OffsetSeconds(zone, parsed->Has("dst")));
  }
  return std::cout.flush() ? kExitOk : Fail(kExitUnreadable, "cannot write the output");
}

}  // namespace cli
