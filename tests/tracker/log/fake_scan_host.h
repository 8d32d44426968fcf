#pragma once

#include <atomic>
#include <vector>

#include "tracker/log/scan_host.h"

namespace tracker_test {

// Records what a scan tells the window; can cancel after a given number of progress reports.
class FakeScanHost : public tracker::ScanHost {
 public:
  void Progress(int value, tracker::ScanPhase phase) override {
    progress.push_back({value, phase});
    if (cancel_after_reports >= 0 && static_cast<int>(progress.size()) >= cancel_after_reports) {
      cancel = true;
    }
  }
  const std::atomic<bool>& CancelFlag() const override { return cancel; }

  struct Report {
    int value;
    tracker::ScanPhase phase;
  };
  std::vector<Report> progress;
  std::atomic<bool> cancel{false};
  int cancel_after_reports = -1;
};

}  // namespace tracker_test
