#include "tracker/log/track_document.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <system_error>
#include <new>
#include <thread>
#include <string>
#include <vector>

#include "common/folder_listing.h"
#include "tracker/log/gps_log_reader.h"
#include "tracker/log/outlier_filter.h"
#include "tracker/log/trip_builder.h"
#include "tracker/log/trip_database.h"

namespace tracker {

namespace {

struct LogFile {
  std::filesystem::path path;
  std::uint64_t size = 0;
};

// The regular files of a folder, sorted by name so the result never depends on the file
// system's listing order.
bool ListLogFiles(const std::filesystem::path& folder, std::vector<LogFile>& files) {
  const auto entries = common::ListFolderSorted(folder);
  if (!entries) return false;
  for (const common::FolderEntry& entry : *entries) {
    if (!entry.regular) continue;
    std::filesystem::path path = folder / entry.name;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    files.push_back({std::move(path), error ? 0 : size});
  }
  return true;
}

void Clear(TrackDocument& document) {
  PointStore().swap(document.points);
  document.trips = TripList{};
}

// Logs are read a batch at a time: small files by two threads at once into one slot per file,
// appended in name order afterwards; a large file alone, straight into the store, so slots
// never hold much. Only this (scan) thread talks to the host.
constexpr std::size_t kBatchFiles = 32;
constexpr std::uint64_t kBatchBytes = 4 * 1024 * 1024;

struct BatchReader {
  const std::vector<LogFile>& files;
  std::vector<PointStore>& slots;
  std::size_t first = 0;
  std::size_t last = 0;
  std::atomic<std::size_t> next{0};
  const std::atomic<bool>& cancel;

  // Takes the next unread file of the batch until none is left; false when there was none.
  bool ReadOne(GpsLogBuffers& buffers, std::size_t& index) {
    index = next.fetch_add(1, std::memory_order_relaxed);
    if (index >= last || cancel.load(std::memory_order_relaxed)) return false;
    ReadGpsLogFile(files[index].path, buffers, slots[index - first], cancel);
    return true;
  }
};

// Reads every listed file into `points`, in name order. False when cancelled.
bool ReadLogFiles(const std::vector<LogFile>& files, PointStore& points, ScanHost& host) {
  const std::atomic<bool>& cancel = host.CancelFlag();
  const bool two_threads = std::thread::hardware_concurrency() > 1;
  GpsLogBuffers buffers;
  GpsLogBuffers helper_buffers;
  std::vector<PointStore> slots(kBatchFiles);

  for (std::size_t first = 0; first < files.size();) {
    if (cancel.load()) return false;
    std::size_t last = first;
    std::uint64_t batch_bytes = 0;
    while (last < files.size() && last - first < kBatchFiles &&
           (last == first || batch_bytes + files[last].size <= kBatchBytes)) {
      batch_bytes += files[last++].size;
    }

    if (last - first == 1 || !two_threads) {
      for (std::size_t i = first; i < last; ++i) {
        if (cancel.load()) return false;
        host.Progress(static_cast<int>(i * 100 / files.size()), ScanPhase::kReading);
        ReadGpsLogFile(files[i].path, buffers, points, cancel);
      }
    } else {
      BatchReader batch{files, slots, first, last, first, cancel};
      std::exception_ptr helper_failure;
      {
        std::optional<std::jthread> helper;  // joined when the batch's scope ends
        try {
          helper.emplace([&] {
            try {
              std::size_t index = 0;
              while (batch.ReadOne(helper_buffers, index)) {
              }
            } catch (...) {
              helper_failure = std::current_exception();
            }
          });
        } catch (const std::system_error&) {
          // No second thread to be had: this one reads the whole batch.
        }
        std::size_t index = 0;
        while (batch.next.load(std::memory_order_relaxed) < last && !cancel.load()) {
          host.Progress(static_cast<int>(batch.next.load(std::memory_order_relaxed) * 100 / files.size()),
                        ScanPhase::kReading);
          if (!batch.ReadOne(buffers, index)) break;
        }
      }
      if (helper_failure) std::rethrow_exception(helper_failure);
      if (cancel.load()) return false;
      for (std::size_t i = first; i < last; ++i) {
        PointStore& slot = slots[i - first];
        points.insert(points.end(), slot.begin(), slot.end());
        slot.clear();
      }
    }
    first = last;
  }
  host.Progress(100, ScanPhase::kReading);
  return !cancel.load();
}

OpenResult ScanListedFiles(const std::vector<LogFile>& files, TimeZoneOffset zone,
                           TrackDocument& document, ScanHost& host) {
  if (!ReadLogFiles(files, document.points, host)) return OpenResult::kCancelled;

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
    case OpenResult::kRefusedFile: return "not a trip database of this program";
    case OpenResult::kUnreadable: return "cannot read the folder";
  }
  return "unknown result";
}

OpenResult ScanFolder(const std::filesystem::path& folder, TimeZoneOffset zone,
                      TrackDocument& document, ScanHost& host) {
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
    host.NoDataNotice();
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
  host.RowsReady();
  return OpenResult::kRowsReady;
}

}  // namespace tracker
