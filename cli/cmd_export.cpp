#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/track_options.h"
#include "tracker/log/local_time.h"
#include "tracker/log/track_export.h"

namespace cli {

int RunExport(std::span<const std::string> args) {
  // -o as in `frame`: read it as --output.
  std::vector<std::string> words(args.begin(), args.end());
  for (std::string& word : words) {
    if (word == "-o") word = "--output";
  }
  std::string error;
  const auto parsed = ParseArguments(words, {"dst"}, {"row", "format", "output", "tz", "profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("format") || !parsed->options.contains("output")) {
    return Fail(kExitBadArguments,
                "usage: blackbox export PATH [--row N] --format gpx|kml|csv -o OUT [--tz INDEX] [--dst]");
  }
  const std::string format_name = parsed->Option("format", "");
  const auto format = tracker::ExportFormatNamed(format_name);
  if (!format) return Fail(kExitBadArguments, "--format takes gpx, kml or csv, not '" + format_name + "'");
  OpenedTrack track;
  if (const int status = OpenTrackOfOptions(*parsed, track); status != kExitOk) return status;
  const tracker::TrackDocument& document = track.document;
  std::vector<std::int32_t> positions;
  if (parsed->options.contains("row")) {
    const auto position = RowOption(*parsed, document.trips);
    if (!position) return kExitBadArguments;
    positions.push_back(*position);
  } else {
    positions = tracker::DriveRowPositions(document.trips);
  }
  return WriteOutputFile(parsed->Option("output", ""),
                         tracker::ExportTracks(*format, document.trips, document.points, positions,
                                               tracker::OffsetSeconds(track.zone, parsed->Has("dst"))));
}

}  // namespace cli
