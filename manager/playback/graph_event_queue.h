#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "manager/playback/graph_event.h"

namespace playback {

// A channel's queue of graph events: filled on GStreamer's threads, drained by the owner.
class GraphEventQueue {
 public:
  void SetNotifyWindow(GraphNotifyTarget* target, std::uint32_t message);
  // Queues the event and wakes the owner. Any thread.
  void Post(GraphEvent event);
  std::optional<GraphEvent> Take();

 private:
  std::mutex mutex_;
  std::deque<GraphEvent> events_;
  GraphNotifyTarget* target_ = nullptr;
  std::uint32_t message_ = 0;
};

}  // namespace playback
