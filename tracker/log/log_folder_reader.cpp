#include "tracker/log/log_folder_reader.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "common/folder_listing.h"
#include "tracker/log/gps_log_reader.h"

namespace tracker {

namespace {

// Logs are parsed ahead of the store on every thread, each file into a slot of its own, and
// appended to the store in name order by the calling thread as soon as the files before it are
// in. At most this many files per thread are parsed ahead, so the slots never hold much more
// than a few files' fixes per thread.
constexpr std::size_t kFilesAheadPerThread = 16;
// A file larger than this (a long log, or something else on the card) is read by the calling
// thread straight into the store in its turn: no slot holds it.
constexpr std::uint64_t kSlotBytesLimit = 2 * 1024 * 1024;

class ReadAhead {
 public:
  ReadAhead(std::span<const LogFile> files, std::size_t window, const std::atomic<bool>& cancel)
      : files_(files), window_(window), slots_(window), cancel_(cancel) {}

  // Parses the next file nobody has taken into its slot; false when every file is taken or the
  // next one would run too far ahead of the store.
  bool ParseOne(GpsLogBuffers& buffers) {
    if (stopped_.load(std::memory_order_acquire)) return false;
    std::size_t index = next_.load(std::memory_order_relaxed);
    do {
      if (index >= files_.size() || index >= merged_.load(std::memory_order_acquire) + window_) return false;
    } while (!next_.compare_exchange_weak(index, index + 1, std::memory_order_relaxed));
    Slot& slot = slots_[index % window_];
    try {
      if (files_[index].size <= kSlotBytesLimit && !cancel_.load(std::memory_order_relaxed)) {
        ReadGpsLogFile(files_[index].path, buffers, slot.points, cancel_);
      }
    } catch (...) {
      const std::lock_guard lock(failure_lock_);
      if (!failure_) failure_ = std::current_exception();
    }
    slot.ready.store(true, std::memory_order_release);
    slot.ready.notify_one();
    return true;
  }

  // A helper thread's work: parse until every file is taken, waiting while too far ahead.
  void Help(GpsLogBuffers& buffers) {
    for (;;) {
      const std::size_t merged = merged_.load(std::memory_order_acquire);
      if (ParseOne(buffers)) continue;
      if (next_.load(std::memory_order_relaxed) >= files_.size() || stopped_.load(std::memory_order_acquire)) return;
      merged_.wait(merged, std::memory_order_acquire);
    }
  }

  // Appends file `index` (every file before it appended already) to the store, parsing files
  // itself while it waits for a helper.
  void Append(std::size_t index, GpsLogBuffers& buffers, PointStore& points) {
    Slot& slot = slots_[index % window_];
    while (!slot.ready.load(std::memory_order_acquire)) {
      if (!ParseOne(buffers)) slot.ready.wait(false, std::memory_order_acquire);
    }
    if (files_[index].size > kSlotBytesLimit) {
      if (!cancel_.load(std::memory_order_relaxed)) ReadGpsLogFile(files_[index].path, buffers, points, cancel_);
    } else {
      if (points.capacity() < points.size() + slot.points.size()) {
        points.reserve(std::max(points.size() + slot.points.size(), points.capacity() * 2));
      }
      points.insert(points.end(), slot.points.begin(), slot.points.end());
      slot.points.clear();
    }
    slot.ready.store(false, std::memory_order_relaxed);
    merged_.store(index + 1, std::memory_order_release);
    merged_.notify_all();
  }

  // The fixes of the first `count` files, once every one of them is parsed (this thread helps).
  std::size_t FixesOfFirst(std::size_t count, GpsLogBuffers& buffers) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < count; ++i) {
      Slot& slot = slots_[i];
      while (!slot.ready.load(std::memory_order_acquire)) {
        if (!ParseOne(buffers)) slot.ready.wait(false, std::memory_order_acquire);
      }
      found += slot.points.size();
    }
    return found;
  }

  // Lets the helpers go: nothing more will be appended.
  void Stop() {
    stopped_.store(true, std::memory_order_release);
    merged_.store(files_.size() + window_, std::memory_order_release);
    merged_.notify_all();
  }

  void RethrowFailure() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  struct Slot {
    PointStore points;
    std::atomic<bool> ready{false};
  };

  std::span<const LogFile> files_;
  std::size_t window_;
  std::vector<Slot> slots_;
  const std::atomic<bool>& cancel_;
  std::atomic<std::size_t> next_{0};    // the first file nobody has taken
  std::atomic<std::size_t> merged_{0};  // files appended to the store
  std::atomic<bool> stopped_{false};
  std::mutex failure_lock_;
  std::exception_ptr failure_;
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
  GpsLogBuffers own;
  if (threads == 1 || files.size() < 2) {
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (cancel.load()) return false;
      host.Progress(static_cast<int>(i * 100 / files.size()), ScanPhase::kReading);
      ReadGpsLogFile(files[i].path, own, points, cancel);
    }
    host.Progress(100, ScanPhase::kReading);
    return !cancel.load();
  }

  const std::size_t window = kFilesAheadPerThread * threads;
  ReadAhead ahead(files, window, cancel);
  std::vector<GpsLogBuffers> helper_buffers(threads - 1);
  {
    std::vector<std::jthread> helpers;  // joined when this scope ends
    // Whatever happens here, the helpers are let go before they are joined.
    struct StopOnExit {
      ReadAhead& ahead;
      ~StopOnExit() { ahead.Stop(); }
    } stop_on_exit{ahead};
    try {
      for (GpsLogBuffers& buffers : helper_buffers) helpers.emplace_back([&ahead, &buffers] { ahead.Help(buffers); });
    } catch (const std::system_error&) {
      // Fewer threads than asked for: the ones there are read every file.
    }
    // The store is reserved once from the density of the first files, so it neither copies
    // itself on growing nor has the pages it left behind cleared.
    const std::size_t first = std::min(window, files.size());
    const std::size_t found = ahead.FixesOfFirst(first, own);
    try {
      points.reserve(points.size() + ExpectedPoints(files, first, found));
    } catch (const std::bad_alloc&) {
      // Only a guess: the store grows as it needs to.
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (cancel.load()) break;
      host.Progress(static_cast<int>(i * 100 / files.size()), ScanPhase::kReading);
      ahead.Append(i, own, points);
    }
  }
  ahead.RethrowFailure();
  if (cancel.load()) return false;
  host.Progress(100, ScanPhase::kReading);
  return true;
}

}  // namespace tracker
