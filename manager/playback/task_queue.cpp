#include <algorithm>

#include "manager/playback/video.h"

namespace playback {

void TaskQueue::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
}

void TaskQueue::PostDelayed(std::chrono::milliseconds delay, std::function<void()> task) {
  std::lock_guard lock(mutex_);
  delayed_.push_back({std::chrono::steady_clock::now() + delay, std::move(task)});
}

void TaskQueue::RunNext() {
  std::function<void()> task;
  {
    std::unique_lock lock(mutex_);
    while (tasks_.empty()) {
      const auto earliest = std::min_element(delayed_.begin(), delayed_.end(),
                                             [](const Delayed& a, const Delayed& b) { return a.due < b.due; });
      if (earliest == delayed_.end()) {
        posted_.wait(lock);
        continue;
      }
      if (std::chrono::steady_clock::now() >= earliest->due) {
        task = std::move(earliest->task);
        delayed_.erase(earliest);
        break;
      }
      posted_.wait_until(lock, earliest->due);
    }
    if (!task) {
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
  }
  task();
}

}  // namespace playback
