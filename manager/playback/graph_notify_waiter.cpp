#include "manager/playback/graph_notify_waiter.h"

namespace playback {

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
