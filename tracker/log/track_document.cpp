#include "tracker/log/track_document.h"

#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "tracker/log/log_folder_reader.h"
#include "tracker/log/outlier_filter.h"
#include "tracker/log/trip_builder.h"
#include "tracker/log/trip_database.h"

namespace tracker {

namespace {

void Clear(TrackDocument& document) {
  PointStore().swap(document.points);
  document.trips = TripList{};
}

OpenResult ScanListedFiles(const std::vector<LogFile>& files, TimeZoneOffset zone, TrackDocument& document,
                           ScanHost& host) {
  if (!ReadLogFiles(files, document.points, host)) return OpenResult::kCancelled;

  FilterOutliers(document.points, host);
  if (host.Cancelled()) return OpenResult::kCancelled;
  if (document.points.empty()) {
    return OpenResult::kNoData;
  }
  std::optional<TripList> trips = BuildTrips(document.points, zone, true, host);
  if (!trips) {
    if (host.Cancelled()) return OpenResult::kCancelled;
    return OpenResult::kNoData;
  }
  document.trips = std::move(*trips);
  host.Progress(100, ScanPhase::kDone);
  return OpenResult::kRowsReady;
}

}  // namespace

const char* Describe(OpenResult result) {
  switch (result) {
    case OpenResult::kRowsReady: return "rows ready";
    case OpenResult::kNoData: return "Log File Format Not Found!";
    case OpenResult::kOutOfMemory: return "out of memory: too many fixes";
    case OpenResult::kCancelled: return "cancelled";
    case OpenResult::kMissing: return "no such file or folder";
    case OpenResult::kRefusedFile: return "not a trip database of this program";
    case OpenResult::kUnreadable: return "cannot read the folder";
  }
  return "unknown result";
}

OpenResult ScanFolder(const std::filesystem::path& folder, TimeZoneOffset zone, TrackDocument& document,
                      ScanHost& host) {
  Clear(document);
  std::vector<LogFile> files;
  if (!ListLogFiles(folder, files)) return OpenResult::kUnreadable;
  if (host.Cancelled()) return OpenResult::kCancelled;
  try {
    const OpenResult result = ScanListedFiles(files, zone, document, host);
    if (result == OpenResult::kCancelled) Clear(document);
    return result;
  } catch (const std::bad_alloc&) {
    // A card with more fixes than memory: give the memory back and say there is nothing.
    Clear(document);
    return OpenResult::kOutOfMemory;
  }
}

OpenResult Open(const std::filesystem::path& path, TimeZoneOffset zone, const DatabaseMagic& magic,
                TrackDocument& document, ScanHost& host, DatabaseError* refused) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return OpenResult::kMissing;
  if (std::filesystem::is_directory(status)) return ScanFolder(path, zone, document, host);
  const DatabaseError loaded = LoadTripDatabase(path, magic, zone, document);
  if (refused != nullptr) *refused = loaded;
  if (loaded != DatabaseError::kNone) return OpenResult::kRefusedFile;
  host.Progress(100, ScanPhase::kDone);
  return OpenResult::kRowsReady;
}

}  // namespace tracker
