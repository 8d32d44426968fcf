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
struct LogFile {
  std::filesystem::path path;
  std::uint64_t size = 0;
};

bool ListLogFiles(const std::filesystem::path& folder, ScanHost& host, std::vector<LogFile>& files) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return false;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
    if (error) return false;
    if (host.Cancelled()) return true;
    std::error_code type_error;
    if (it->is_regular_file(type_error)) {
      const std::uintmax_t size = it->file_size(type_error);
      files.push_back({it->path(), type_error ? 0 : size});
    }
  }
  if (error) return false;
  std::sort(files.begin(), files.end(), [](const LogFile& a, const LogFile& b) {
    return a.path.filename().native() < b.path.filename().native();
  });
  return true;
}

void Clear(TrackDocument& document) {
  PointStore().swap(document.points);
  document.trips = TripList{};
}

// Makes room for the fixes still to come, judged by the fixes per byte and per file read so
// far, so the store is not copied over and over as it grows. The smaller guess wins: bytes
// mislead when large files that are not logs (videos on the card) are in the folder, files
// when their lengths differ; a guess that falls short only costs one more growth.
void ReserveForRest(PointStore& points, std::size_t files_read, std::size_t files_left,
                    std::uint64_t bytes_read, std::uint64_t bytes_left) {
  if (points.empty() || bytes_read == 0 || files_read == 0) return;
  const double have = static_cast<double>(points.size());
  const double by_bytes = have / static_cast<double>(bytes_read) * static_cast<double>(bytes_left);
  const double by_files = have / static_cast<double>(files_read) * static_cast<double>(files_left);
  const double expected = have + std::min(by_bytes, by_files) * 1.1;
  const double capacity = static_cast<double>(points.capacity());
  if (expected <= capacity) return;
  // Grow by at least a quarter, so a guess that creeps up does not copy the store each time.
  points.reserve(static_cast<std::size_t>(std::max(expected, capacity * 1.25)));
}

OpenResult ScanListedFiles(const std::vector<LogFile>& files, TimeZoneOffset zone,
                           TrackDocument& document, ScanHost& host) {
  GpsLogBuffers buffers;
  std::uint64_t bytes_left = 0;
  for (const LogFile& file : files) bytes_left += file.size;
  std::uint64_t bytes_read = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (host.Cancelled()) return OpenResult::kCancelled;
    host.Progress(static_cast<int>(i * 100 / files.size()), ScanPhase::kReading);
    ReserveForRest(document.points, i, files.size() - i, bytes_read, bytes_left);
    ReadGpsLogFile(files[i].path, buffers, document.points, host.CancelFlag());
    bytes_read += files[i].size;
    bytes_left -= files[i].size;
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
  std::vector<LogFile> files;
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
