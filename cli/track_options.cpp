#include "cli/track_options.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "common/atomic_file.h"
#include "tracker/log/trip_database.h"

namespace cli {

namespace {

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

std::optional<tracker::TrackerProfileId> ProfileOption(const Arguments& parsed) {
  const std::string name = parsed.Option("profile", "current");
  const std::optional<tracker::TrackerProfileId> id = tracker::ProfileNamed(name);
  if (!id) Fail(kExitBadArguments, "--profile takes current or older, not '" + name + "'");
  return id;
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

const tracker::TrackerProfile& ProfileForFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension == tracker::kOlderProfile.database_extension) return tracker::kOlderProfile;
  return tracker::kCurrentProfile;
}

int LoadTrackDatabase(const std::string& path, tracker::TimeZoneOffset zone,
                      const tracker::TrackerProfile& profile, tracker::TrackDocument& document) {
  const tracker::DatabaseError error = tracker::LoadTripDatabase(path, profile, zone, document);
  if (error == tracker::DatabaseError::kNone) return kExitOk;
  return Fail(kExitUnreadable, path + ": " + tracker::Describe(error));
}

int OpenTrackPath(const std::string& path, tracker::TimeZoneOffset zone,
                  const tracker::TrackerProfile& profile, tracker::TrackDocument& document) {
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) return LoadTrackDatabase(path, zone, profile, document);
  return ScanTrackFolder(path, zone, document);
}

int WriteOutputFile(const std::string& path, std::string_view bytes) {
  if (common::WriteFileAtomically(path, bytes)) return kExitOk;
  return Fail(kExitUnreadable, path + ": cannot write the file");
}

}  // namespace cli
