#include "manager/playback/graph_event_queue.h"

namespace playback {

void GraphEventQueue::SetNotifyWindow(GraphNotifyTarget* target, std::uint32_t message) {
  std::lock_guard lock(mutex_);
  target_ = target;
  message_ = message;
}

void GraphEventQueue::Post(GraphEvent event) {
  GraphNotifyTarget* target = nullptr;
  std::uint32_t message = 0;
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
    target = target_;
    message = message_;
  }
  // Outside the lock: the owner may already be draining the queue.
  if (target != nullptr) target->PostGraphNotify(message);
}

std::optional<GraphEvent> GraphEventQueue::Take() {
  std::lock_guard lock(mutex_);
  if (events_.empty()) return std::nullopt;
  const GraphEvent event = events_.front();
  events_.pop_front();
  return event;
}

}  // namespace playback
