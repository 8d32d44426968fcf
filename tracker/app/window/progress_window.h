#pragma once

#include <QWidget>

#include "tracker/log/scan_host.h"

namespace tracker {

// The scan's progress: a small bordered popup, centred over its owner, with the running
// pass's percentage above and the phase below. A bar is repainted only when its value changes.
class ProgressWindow : public QWidget {
 public:
  explicit ProgressWindow(QWidget* owner);

  void SetProgress(int value, ScanPhase phase);
  int upper() const { return upper_; }
  int lower() const { return lower_; }
  int repaints() const { return repaints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  int upper_ = 0;
  int lower_ = 0;
  int repaints_ = 0;
};

}  // namespace tracker
