#pragma once

#include <atomic>
#include <functional>
#include <utility>

#include "tracker/log/scan_host.h"

namespace tracker {

// A scan host for front ends without a window (the command line, benchmarks): progress goes
// to an optional callback, the notices are counted.
class CallbackScanHost : public ScanHost {
 public:
  using ProgressCallback = std::function<void(int value, ScanPhase phase)>;

  explicit CallbackScanHost(ProgressCallback progress = {}) : progress_(std::move(progress)) {}

  void Progress(int value, ScanPhase phase) override {
    if (progress_) progress_(value, phase);
  }
  const std::atomic<bool>& CancelFlag() const override { return cancel_; }
  void RowsReady() override { ++rows_ready_; }
  void NoDataNotice() override { ++no_data_notices_; }

  void Cancel() { cancel_.store(true); }
  int rows_ready() const { return rows_ready_; }
  int no_data_notices() const { return no_data_notices_; }

 private:
  ProgressCallback progress_;
  std::atomic<bool> cancel_{false};
  int rows_ready_ = 0;
  int no_data_notices_ = 0;
};

}  // namespace tracker
