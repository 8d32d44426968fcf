#pragma once

#include <atomic>

namespace tracker {

// Phases of a scan as the progress window shows them.
enum class ScanPhase : int {
  kReading = 15,
  kSorting = 30,
  kFiltering = 45,
  kCutting = 60,
  kDone = 100,
};

// What the window lends the scan: a progress display and the shared cancel flag (the outcome is
// the scan's result). The window implements it with Qt; tests and the command line fake it.
class ScanHost {
 public:
  virtual ~ScanHost() = default;

  // `value` is 0-100 within the phase.
  virtual void Progress(int value, ScanPhase phase) = 0;
  // Set by the window (for example when it closes); the scan stops soon after.
  virtual const std::atomic<bool>& CancelFlag() const = 0;

  bool Cancelled() const { return CancelFlag().load(std::memory_order_relaxed); }
};

}  // namespace tracker
