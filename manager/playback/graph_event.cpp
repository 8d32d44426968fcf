#include "manager/playback/graph_event.h"

namespace playback {

void GraphEventQueue::SetNotifyWindow(GraphNotifyTarget* target, std::uint32_t message) {
  std::lock_guard lock(notifyMutex_);
  target_ = target;
  message_ = message;
}

void GraphEventQueue::Post(GraphEvent event) {
  {
    std::lock_guard lock(queueMutex_);
    events_.push_back(event);
  }
  std::lock_guard lock(notifyMutex_);
  if (target_ != nullptr) target_->PostGraphNotify(message_);
}

std::optional<GraphEvent> GraphEventQueue::Take() {
  std::lock_guard lock(queueMutex_);
  if (events_.empty()) return std::nullopt;
  const GraphEvent event = events_.front();
  events_.pop_front();
  return event;
}

void GraphNotifyWaiter::PostGraphNotify(std::uint32_t) {
  {
    std::lock_guard lock(mutex_);
    ++pending_;
  }
  arrived_.notify_one();
}

bool GraphNotifyWaiter::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!arrived_.wait_for(lock, timeout, [this] { return pending_ > 0; })) return false;
  pending_ = 0;
  return true;
}

}  // namespace playback
