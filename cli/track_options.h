#pragma once

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/track_document.h"
#include "tracker/app/profile/tracker_profile.h"

namespace cli {

// --tz INDEX (0-83, Seoul when absent); none after a one-line message.
std::optional<int> TimeZoneIndexOption(const Arguments& parsed);

// --profile current|older (current when absent); none after a one-line message.
std::optional<tracker::TrackerProfileId> ProfileOption(const Arguments& parsed);

// --row N: a list position of `trips`; none after a one-line message.
std::optional<std::int32_t> RowOption(const Arguments& parsed, const tracker::TripList& trips);

// The profile whose trip database extension `path` has; the current one otherwise.
const tracker::TrackerProfile& ProfileForFile(const std::string& path);

// A folder of GPS logs is scanned (with progress on stderr when it is a terminal), a file loaded
// as a trip database of `profile`. Returns the exit code, after a one-line message on failure.
int OpenTrackPath(const std::string& path, tracker::TimeZoneOffset zone,
                  const tracker::TrackerProfile& profile, tracker::TrackDocument& document);

// Writes `bytes` to `path` through a temporary file; the exit code.
int WriteOutputFile(const std::string& path, std::string_view bytes);

}  // namespace cli
