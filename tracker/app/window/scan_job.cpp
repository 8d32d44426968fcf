#include "tracker/app/window/scan_job.h"

#include <exception>
#include <new>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tracker {

namespace {
constexpr int kScanNiceness = 3;
}  // namespace

ScanJob::ScanJob(Work work) {
  thread_ = std::thread([this, work = std::move(work)] {
#ifdef __linux__
    // A little below the window's priority, so that on a busy machine the window keeps
    // drawing and the progress keeps moving; threads the scan starts inherit it.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kScanNiceness);
#endif
    try {
      outcome_ = work(document_, *this);
    } catch (const std::bad_alloc&) {
      document_ = TrackDocument{};
      outcome_ = {OpenResult::kOutOfMemory};
    } catch (const std::exception&) {
      document_ = TrackDocument{};
      outcome_ = {OpenResult::kUnreadable};
    }
    done_.store(true, std::memory_order_release);
  });
}

ScanJob::~ScanJob() {
  cancel_.store(true);
  if (thread_.joinable()) thread_.join();
}

void ScanJob::Progress(int value, ScanPhase phase) {
  progress_.store(value, std::memory_order_relaxed);
  phase_.store(static_cast<int>(phase), std::memory_order_relaxed);
}

}  // namespace tracker
