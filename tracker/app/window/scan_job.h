#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "tracker/log/scan_host.h"
#include "tracker/log/track_document.h"
#include "tracker/log/trip_database.h"

namespace tracker {

// What a job on the scan thread ended with.
struct ScanOutcome {
  OpenResult result = OpenResult::kCancelled;
  DatabaseError refused = DatabaseError::kNone;  // why a file was refused
};

// One piece of work on the scan thread: opening a folder or a trip database, or re-cutting the
// rows for another time zone. The work fills a document of the job's own, so the window's
// document stays whole and readable until the window takes the result; work that reads the
// window's points must be given them by reference, and the window leaves them alone until
// the job is done.
//
// The window polls Done() and the progress; nothing is posted across threads. Destroying a
// job sets the cancel flag and waits for the thread, which stops within one file or pass, so
// nothing it touches is freed under it.
class ScanJob : private ScanHost {
 public:
  using Work = std::function<ScanOutcome(TrackDocument& out, ScanHost& host)>;

  explicit ScanJob(Work work);
  ~ScanJob() override;
  ScanJob(const ScanJob&) = delete;
  ScanJob& operator=(const ScanJob&) = delete;

  void Cancel() { cancel_.store(true); }
  bool Done() const { return done_.load(std::memory_order_acquire); }

  // The running pass: 0-100 within the phase.
  int progress() const { return progress_.load(std::memory_order_relaxed); }
  ScanPhase phase() const { return static_cast<ScanPhase>(phase_.load(std::memory_order_relaxed)); }

  // Only once Done().
  const ScanOutcome& outcome() const { return outcome_; }
  TrackDocument& document() { return document_; }

 private:
  void Progress(int value, ScanPhase phase) override;
  const std::atomic<bool>& CancelFlag() const override { return cancel_; }

  std::atomic<bool> cancel_{false};
  std::atomic<bool> done_{false};
  std::atomic<int> progress_{0};
  std::atomic<int> phase_{static_cast<int>(ScanPhase::kReading)};
  ScanOutcome outcome_;
  TrackDocument document_;
  std::thread thread_;  // last, so everything above exists before the thread starts
};

}  // namespace tracker
