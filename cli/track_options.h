#pragma once

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/track_document.h"

namespace cli {

// --tz INDEX (0-83, Seoul when absent); none after a one-line message.
std::optional<int> TimeZoneIndexOption(const Arguments& parsed);

// --profile current|older (current when absent); null after a one-line message.
const tracker::TrackerProfile* ProfileOption(const Arguments& parsed);

// --row N: a list position of `trips`; none after a one-line message.
std::optional<std::int32_t> RowOption(const Arguments& parsed, const tracker::TripList& trips);

// The row shown at a list position of `trips`.
const tracker::TripRecord& RowAtPosition(const tracker::TripList& trips, std::int32_t position);

// The profile whose trip database extension `path` has; the current one otherwise.
const tracker::TrackerProfile& ProfileForFile(const std::string& path);

// A folder of GPS logs is scanned (with progress on stderr when it is a terminal), a file loaded
// as a trip database of `profile`. Returns the exit code, after a one-line message on failure.
int OpenTrackPath(const std::string& path, tracker::TimeZoneOffset zone, const tracker::TrackerProfile& profile,
                  tracker::TrackDocument& document);

// The first positional path opened with the --tz (Seoul when absent) and --profile choices.
struct OpenedTrack {
  const tracker::TrackerProfile* profile = nullptr;
  tracker::TimeZoneOffset zone{};
  tracker::TrackDocument document;
};

// Fills `track` from the options and the path; the exit code, after a one-line message on failure.
int OpenTrackOfOptions(const Arguments& parsed, OpenedTrack& track);

// Writes `bytes` to `path` through a temporary file; the exit code.
int WriteOutputFile(const std::string& path, std::string_view bytes);

}  // namespace cli
