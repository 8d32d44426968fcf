#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "tracker/log/route_encoding.h"

namespace cli {

int RunRoute(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"json"}, {"row", "profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("row")) {
    return Fail(kExitBadArguments, "usage: blackbox route PATH --row N [--profile current|older] [--json]");
  }
  OpenedTrack track;
  if (const int status = OpenTrackOfOptions(*parsed, track); status != kExitOk) return status;
  const tracker::TrackDocument& document = track.document;
  const tracker::TrackerProfile& profile = *track.profile;
  const auto position = RowOption(*parsed, document.trips);
  if (!position) return kExitBadArguments;
  const tracker::TripRecord& row = RowAtPosition(document.trips, *position);
  const tracker::EncodedRoute route = tracker::EncodeRowRoute(row, document.points, profile.thin_route);

  if (parsed->Has("json")) {
    nlohmann::ordered_json out;
    out["path"] = route.path;
    if (profile.sends_levels) out["levels"] = route.levels;
    std::cout << out.dump() << '\n';
  } else {
    std::cout << route.path << '\n';
    if (profile.sends_levels) std::cout << route.levels << '\n';
  }
  return std::cout.flush() ? kExitOk : Fail(kExitUnreadable, "cannot write the output");
}

}  // namespace cli
