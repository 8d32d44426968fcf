#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "tracker/log/field_text.h"
#include "tracker/log/time_zone.h"

namespace cli {

int RunPoints(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"json"}, {}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1) return Fail(kExitBadArguments, "points needs one folder or trip database");

  // The store does not depend on the zone; the default one keeps the scan as the tracker runs it.
  tracker::TrackDocument document;
  const tracker::TimeZoneOffset zone = tracker::TimeZoneOffsetAt(tracker::kDefaultTimeZoneIndex);
  if (const int status = OpenTrackPath(parsed->positional[0], zone, ProfileForFile(parsed->positional[0]), document);
      status != kExitOk) {
    return status;
  }

  if (parsed->Has("json")) {
    auto array = nlohmann::ordered_json::array();
    for (const tracker::TrackPoint& point : document.points) {
      array.push_back({{"latitude", tracker::FieldText(point.latitude)},
                       {"longitude", tracker::FieldText(point.longitude)},
                       {"date", tracker::FieldText(point.date)},
                       {"time", tracker::FieldText(point.time)},
                       {"speed", tracker::FieldText(point.speed)}});
    }
    std::cout << array.dump(2) << '\n';
  } else {
    std::string out;
    for (const tracker::TrackPoint& point : document.points) {
      for (std::string_view field : {tracker::FieldText(point.latitude), tracker::FieldText(point.longitude),
                                     tracker::FieldText(point.date), tracker::FieldText(point.time)}) {
        out.append(field);
        out += '\t';
      }
      out.append(tracker::FieldText(point.speed));
      out += '\n';
    }
    std::cout << out;
  }
  return std::cout.flush() ? kExitOk : Fail(kExitUnreadable, "cannot write the output");
}

}  // namespace cli
