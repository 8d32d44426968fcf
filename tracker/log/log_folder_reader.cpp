#include "tracker/log/log_folder_reader.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "common/folder_listing.h"
#include "tracker/log/gps_log_reader.h"

namespace tracker {

namespace {

// Logs are read a batch at a time: small files by every thread at once, each into a slot of its
// own, appended in name order once the batch is read; a large file alone, straight into the
// store, so slots never hold much more than a few files' fixes per thread.
constexpr std::size_t kBatchFilesPerThread = 16;
constexpr std::uint64_t kBatchBytesPerThread = 2 * 1024 * 1024;

struct Batch {
  std::span<const LogFile> files;  // of the batch
  std::span<PointStore> slots;
  std::atomic<std::size_t> next{0};
  const std::atomic<bool>& cancel;

  // Reads the next unread file of the batch; false when none is left.
  bool ReadOne(GpsLogBuffers& buffers) {
    const std::size_t index = next.fetch_add(1, std::memory_order_relaxed);
    if (index >= files.size() || cancel.load(std::memory_order_relaxed)) return false;
    ReadGpsLogFile(files[index].path, buffers, slots[index], cancel);
    return true;
  }
};

// Threads that read batch after batch; each keeps its own buffers from one batch to the next.
class BatchCrew {
 public:
  explicit BatchCrew(std::size_t helpers) : buffers_(helpers + 1) {}

  // Reads every file of `batch` on this thread and the helpers, reporting progress between
  // files on this thread.
  void Read(Batch& batch, std::size_t done_before, std::size_t total, ScanHost& host) {
    std::exception_ptr failure;
    std::mutex failure_lock;
    {
      std::vector<std::jthread> helpers;  // joined when the batch's scope ends
      const std::size_t wanted = std::min(buffers_.size() - 1, batch.files.size() - 1);
      try {
        for (std::size_t h = 0; h < wanted; ++h) {
          helpers.emplace_back([&, h] {
            try {
              while (batch.ReadOne(buffers_[h + 1])) {
              }
            } catch (...) {
              const std::lock_guard lock(failure_lock);
              if (!failure) failure = std::current_exception();
            }
          });
        }
      } catch (const std::system_error&) {
        // Fewer threads than asked for: the ones there are read the whole batch.
      }
      for (;;) {
        const std::size_t next = std::min(batch.next.load(std::memory_order_relaxed), batch.files.size());
        host.Progress(static_cast<int>((done_before + next) * 100 / total), ScanPhase::kReading);
        if (!batch.ReadOne(buffers_[0])) break;
      }
    }
    if (failure) std::rethrow_exception(failure);
  }

  GpsLogBuffers& Own() { return buffers_[0]; }

 private:
  std::vector<GpsLogBuffers> buffers_;
};

// The fixes a folder will give at the density of its first `read` files, which gave `found`:
// reserved at once, a store neither copies itself on growing nor has the pages it left behind
// cleared. Only log-sized files count, and never more than a generous card's worth.
std::size_t ExpectedPoints(std::span<const LogFile> files, std::size_t read, std::size_t found) {
  constexpr std::uint64_t kLogSizeLimit = 16 * 1024 * 1024;
  constexpr std::size_t kMostReserved = 16 * 1024 * 1024;
  std::uint64_t read_bytes = 0;
  std::uint64_t all_bytes = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].size > kLogSizeLimit) continue;
    all_bytes += files[i].size;
    if (i < read) read_bytes += files[i].size;
  }
  if (read_bytes == 0 || found == 0) return 0;
  const double expected = static_cast<double>(found) * static_cast<double>(all_bytes) / static_cast<double>(read_bytes);
  return static_cast<std::size_t>(std::min(expected * 1.05, static_cast<double>(kMostReserved)));
}

}  // namespace

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

bool ReadLogFiles(std::span<const LogFile> files, PointStore& points, ScanHost& host, unsigned threads) {
  const std::atomic<bool>& cancel = host.CancelFlag();
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t batch_files = kBatchFilesPerThread * threads;
  const std::uint64_t batch_bytes_limit = kBatchBytesPerThread * threads;
  BatchCrew crew(threads - 1);
  std::vector<PointStore> slots(threads > 1 ? batch_files : 0);

  for (std::size_t first = 0; first < files.size();) {
    if (cancel.load()) return false;
    std::size_t last = first;
    std::uint64_t batch_bytes = 0;
    while (last < files.size() && last - first < batch_files &&
           (last == first || batch_bytes + files[last].size <= batch_bytes_limit)) {
      batch_bytes += files[last++].size;
    }

    if (last - first == 1 || threads == 1) {
      for (std::size_t i = first; i < last; ++i) {
        if (cancel.load()) return false;
        host.Progress(static_cast<int>(i * 100 / files.size()), ScanPhase::kReading);
        ReadGpsLogFile(files[i].path, crew.Own(), points, cancel);
      }
    } else {
      Batch batch{files.subspan(first, last - first), std::span(slots).first(last - first), 0, cancel};
      crew.Read(batch, first, files.size(), host);
      if (cancel.load()) return false;
      std::size_t total = points.size();
      for (std::size_t i = first; i < last; ++i) total += slots[i - first].size();
      if (first == 0) {
        try {
          points.reserve(ExpectedPoints(files, last, total));
        } catch (const std::bad_alloc&) {
          // Only a guess: the store grows as it needs to.
        }
      }
      if (points.capacity() < total) points.reserve(std::max(total, points.capacity() * 2));
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

}  // namespace tracker
