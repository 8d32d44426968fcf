#include "cli/track_options.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "common/atomic_file.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/trip_database.h"

namespace cli {

namespace {

const char* PhaseName(tracker::ScanPhase phase) {
  switch (phase) {
    case tracker::ScanPhase::kReading: return "reading logs";
    case tracker::ScanPhase::kSorting: return "sorting";
    case tracker::ScanPhase::kFiltering: return "filtering";
    case tracker::ScanPhase::kCutting: return "cutting rows";
    case tracker::ScanPhase::kDone: return "done";
  }
  return "";
}

std::optional<int> WholeNumber(const std::string& text) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (used != text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> TimeZoneIndexOption(const Arguments& parsed) {
  const std::string tz = parsed.Option("tz", std::to_string(tracker::kDefaultTimeZoneIndex));
  const std::optional<int> index = WholeNumber(tz);
  if (!index || *index < 0 || *index >= tracker::kTimeZoneCount) {
    Fail(kExitBadArguments, "--tz takes a time-zone index from 0 to 83, not '" + tz + "'");
    return std::nullopt;
  }
  return index;
}

const tracker::TrackerProfile* ProfileOption(const Arguments& parsed) {
  const std::string name = parsed.Option("profile", "current");
  const std::optional<tracker::TrackerProfileId> id = tracker::ProfileNamed(name);
  if (!id) {
    Fail(kExitBadArguments, "--profile takes current or older, not '" + name + "'");
    return nullptr;
  }
  return &tracker::ProfileFor(*id);
}

std::optional<std::int32_t> RowOption(const Arguments& parsed, const tracker::TripList& trips) {
  const std::string text = parsed.Option("row", "");
  const std::optional<int> row = WholeNumber(text);
  if (!row || *row < 0 || static_cast<std::size_t>(*row) >= trips.order.size()) {
    Fail(kExitBadArguments, trips.order.empty() ? "there are no rows"
                                                : "--row takes a row number from 0 to " +
                                                      std::to_string(trips.order.size() - 1) + ", not '" + text + "'");
    return std::nullopt;
  }
  return *row;
}

const tracker::TripRecord& RowAtPosition(const tracker::TripList& trips, std::int32_t position) {
  return trips.rows[static_cast<std::size_t>(trips.order[static_cast<std::size_t>(position)])];
}

const tracker::TrackerProfile& ProfileForFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension == tracker::kOlderProfile.database_extension) return tracker::kOlderProfile;
  return tracker::kCurrentProfile;
}

int OpenTrackPath(const std::string& path, tracker::TimeZoneOffset zone, const tracker::TrackerProfile& profile,
                  tracker::TrackDocument& document) {
  // Progress only for a person watching; a pipe or a log file gets clean output.
  const bool show_progress = isatty(STDERR_FILENO) == 1;
  int last_value = -1;
  tracker::ScanPhase last_phase{};
  tracker::CallbackScanHost host([&](int value, tracker::ScanPhase phase) {
    if (!show_progress || (value == last_value && phase == last_phase)) return;
    last_value = value;
    last_phase = phase;
    std::fprintf(stderr, "\r%-14s %3d%%", PhaseName(phase), value);
  });
  tracker::DatabaseError refused = tracker::DatabaseError::kNone;
  const tracker::OpenResult result = tracker::Open(path, zone, profile.database_magic, document, host, &refused);
  if (show_progress && last_value >= 0) std::fprintf(stderr, "\r\033[K");
  if (result == tracker::OpenResult::kRowsReady) return kExitOk;
  if (result == tracker::OpenResult::kRefusedFile)
    return Fail(kExitUnreadable, path + ": " + tracker::Describe(refused));
  return Fail(kExitUnreadable, path + ": " + tracker::Describe(result));
}

int OpenTrackOfOptions(const Arguments& parsed, OpenedTrack& track) {
  const std::optional<int> zone_index = TimeZoneIndexOption(parsed);
  if (!zone_index) return kExitBadArguments;
  track.profile = ProfileOption(parsed);
  if (track.profile == nullptr) return kExitBadArguments;
  track.zone = tracker::TimeZoneOffsetAt(*zone_index);
  return OpenTrackPath(parsed.positional[0], track.zone, *track.profile, track.document);
}

int WriteOutputFile(const std::string& path, std::string_view bytes) {
  if (common::WriteFileAtomically(path, bytes)) return kExitOk;
  return Fail(kExitUnreadable, path + ": cannot write the file");
}

}  // namespace cli
