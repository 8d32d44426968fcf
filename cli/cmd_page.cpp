#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "tracker/log/local_time.h"
#include "tracker/map/page_values.h"

namespace cli {

int RunPage(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {"json", "dst"}, {"row", "tz", "profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("row")) {
    return Fail(kExitBadArguments,
                "usage: blackbox page PATH --row N [--tz INDEX] [--dst] [--profile current|older] [--json]");
  }
  OpenedTrack track;
  if (const int status = OpenTrackOfOptions(*parsed, track); status != kExitOk) return status;
  const tracker::TrackDocument& document = track.document;
  const auto position = RowOption(*parsed, document.trips);
  if (!position) return kExitBadArguments;
  const tracker::TripRecord& row = RowAtPosition(document.trips, *position);
  // Selecting a row draws the line for day and drive rows only.
  const std::optional<tracker::PageCall> call = tracker::ShowRowCall(
      row, document.points, tracker::OffsetSeconds(track.zone, parsed->Has("dst")),
      row.type != tracker::RowType::kParking, {track.profile->thin_route, track.profile->sends_levels});

  if (parsed->Has("json")) {
    nlohmann::ordered_json out;
    out["trigger"] = call ? nlohmann::ordered_json(call->trigger) : nlohmann::ordered_json();
    out["values"] = nlohmann::ordered_json::array();
    if (call) {
      for (const auto& [id, text] : call->values) out["values"].push_back({id, text});
    }
    std::cout << out.dump() << '\n';
  } else if (call) {
    for (const auto& [id, text] : call->values) std::cout << id << '\t' << text << '\n';
    std::cout << "click\t" << call->trigger << '\n';
  }
  return std::cout.flush() ? kExitOk : Fail(kExitUnreadable, "cannot write the output");
}

}  // namespace cli
