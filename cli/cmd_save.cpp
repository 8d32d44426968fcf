#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "tracker/log/trip_database.h"

namespace cli {

int RunSave(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 2)
    return Fail(kExitBadArguments, "save needs a folder or trip database and an output file");
  OpenedTrack track;
  if (const int status = OpenTrackOfOptions(*parsed, track); status != kExitOk) return status;
  const tracker::TrackDocument& document = track.document;
  const tracker::TrackerProfile& profile = *track.profile;
  // Every row, in the order the list shows them, as the window saves its checked rows.
  std::vector<tracker::TripRecord> rows;
  rows.reserve(document.trips.order.size());
  for (const std::int32_t index : document.trips.order)
    rows.push_back(document.trips.rows[static_cast<std::size_t>(index)]);
  const std::string& out = parsed->positional[1];
  if (!tracker::SaveTripDatabase(out, rows, document.points, profile.database_magic)) {
    return Fail(kExitUnreadable, out + ": cannot write the trip database");
  }
  return kExitOk;
}

}  // namespace cli
