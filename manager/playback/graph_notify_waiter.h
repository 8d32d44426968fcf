#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "manager/playback/graph_event.h"

namespace playback {

// A notify target for programs without an event loop: the owner thread blocks in Wait until a
// channel posts a notice, then pumps that channel's events itself.
class GraphNotifyWaiter : public GraphNotifyTarget {
 public:
  void PostGraphNotify(std::uint32_t message) override;
  // True when a notice arrived (and consumes all notices so far); false after the timeout.
  bool Wait(std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  int pending_ = 0;
};

}  // namespace playback
