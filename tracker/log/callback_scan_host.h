#pragma once

#include <atomic>
#include <functional>
#include <utility>

#include "tracker/log/scan_host.h"

namespace tracker {

// A scan host for front ends without a window (the command line, benchmarks): progress goes
// to an optional callback.
class CallbackScanHost : public ScanHost {
 public:
  using ProgressCallback = std::function<void(int value, ScanPhase phase)>;

  explicit CallbackScanHost(ProgressCallback progress = {}) : progress_(std::move(progress)) {}

  void Progress(int value, ScanPhase phase) override {
    if (progress_) progress_(value, phase);
  }
  const std::atomic<bool>& CancelFlag() const override { return cancel_; }

  void Cancel() { cancel_.store(true); }

 private:
  ProgressCallback progress_;
  std::atomic<bool> cancel_{false};
};

}  // namespace tracker
