#include "tracker/log/track_document.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "tracker/log/gps_log_reader.h"
#include "tracker/log/outlier_filter.h"
#include "tracker/log/trip_builder.h"

namespace tracker {

namespace {

// The regular files of a folder, sorted by name so the result never depends on the file
// system's listing order. "." and ".." are never listed; every real entry is.
bool ListLogFiles(const std::filesystem::path& folder, ScanHost& host,
                  std::vector<std::filesystem::path>& files) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return false;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
    if (error) return false;
    if (host.Cancelled()) return true;
    std::error_code type_error;
    if (it->is_regular_file(type_error)) files.push_back(it->path());
  }
  if (error) return false;
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return a.filename().native() < b.filename().native();
  });
  return true;
}

void Clear(TrackDocument& document) {
  PointStore().swap(document.points);
  document.trips = TripList{};
}

OpenResult ScanListedFiles(const std::vector<std::filesystem::path>& files, TimeZoneOffset zone,
                           TrackDocument& document, ScanHost& host) {
  GpsLogBuffers buffers;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (host.Cancelled()) return OpenResult::kCancelled;
    host.Progress(static_cast<int>(i * 100 / files.size()), ScanPhase::kReading);
    ReadGpsLogFile(files[i], buffers, document.points, host.CancelFlag());
  }
  buffers = GpsLogBuffers{};
  host.Progress(100, ScanPhase::kReading);
  if (host.Cancelled()) return OpenResult::kCancelled;

  FilterOutliers(document.points, host);
  if (host.Cancelled()) return OpenResult::kCancelled;
  if (document.points.empty()) {
    host.NoDataNotice();
    return OpenResult::kNoData;
  }
  std::optional<TripList> trips = BuildTrips(document.points, zone, true, host);
  if (!trips) {
    if (host.Cancelled()) return OpenResult::kCancelled;
    host.NoDataNotice();
    return OpenResult::kNoData;
  }
  document.trips = std::move(*trips);
  host.Progress(100, ScanPhase::kDone);
  host.RowsReady();
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
    case OpenResult::kNotAFolder: return "not a folder";
    case OpenResult::kUnreadable: return "cannot read the folder";
  }
  return "unknown result";
}

OpenResult ScanFolder(const std::filesystem::path& folder, TimeZoneOffset zone,
                      TrackDocument& document, ScanHost& host) {
  Clear(document);
  std::vector<std::filesystem::path> files;
  if (!ListLogFiles(folder, host, files)) return OpenResult::kUnreadable;
  if (host.Cancelled()) return OpenResult::kCancelled;
  try {
    const OpenResult result = ScanListedFiles(files, zone, document, host);
    if (result == OpenResult::kCancelled) Clear(document);
    return result;
  } catch (const std::bad_alloc&) {
    // A card with more fixes than memory: give the memory back and say there is nothing.
    Clear(document);
    host.NoDataNotice();
    return OpenResult::kOutOfMemory;
  }
}

OpenResult Open(const std::filesystem::path& path, TimeZoneOffset zone, TrackDocument& document,
                ScanHost& host) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return OpenResult::kMissing;
  if (!std::filesystem::is_directory(status)) return OpenResult::kNotAFolder;
  return ScanFolder(path, zone, document, host);
}

}  // namespace tracker
