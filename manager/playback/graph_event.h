#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace playback {

// What a pipeline's bus told the channel's owner. The numbers are the ones `blackbox play` prints.
enum class GraphEventCode : std::int32_t {
  kEndOfStream = 1,  // the recording played to its end (GST_MESSAGE_EOS)
  kError = 3,        // streaming stopped on an error (GST_MESSAGE_ERROR); param1 the result code
};

// The notice id channel 1's pipeline wakes the main window with.
inline constexpr std::uint32_t kGraphNotifyMessage = 0x8001;

struct GraphEvent {
  GraphEventCode code = GraphEventCode::kEndOfStream;
  std::intptr_t param1 = 0;
  std::intptr_t param2 = 0;
};

// Implemented by the main window: receives a channel's graph events, on the thread that
// called PumpGraphEvents.
class GraphEventCallback {
 public:
  virtual ~GraphEventCallback() = default;
  virtual void OnGraphEvent(GraphEventCode code, std::intptr_t param1, std::intptr_t param2) = 0;
};

// The owner of a channel, woken when graph events are waiting. PostGraphNotify is called on
// GStreamer's threads; it must only schedule a PumpGraphEvents call on the owner's thread
// (a queued call in Qt, a condition variable in the command-line tool), never wait for it.
class GraphNotifyTarget {
 public:
  virtual ~GraphNotifyTarget() = default;
  virtual void PostGraphNotify(std::uint32_t message) = 0;
};

// A channel's queue of graph events: filled on GStreamer's threads, drained by the owner.
class GraphEventQueue {
 public:
  // Wakes `target` with `message` from now on; null wakes nobody. Returns only once a wake-up
  // that is being delivered to the previous target has finished, so that target may go away.
  void SetNotifyWindow(GraphNotifyTarget* target, std::uint32_t message);
  // Queues the event and wakes the owner. Any thread.
  void Post(GraphEvent event);
  std::optional<GraphEvent> Take();

 private:
  std::mutex queueMutex_;
  std::deque<GraphEvent> events_;
  // Held while the target is woken, apart from the queue: the owner may be draining it then.
  std::mutex notifyMutex_;
  GraphNotifyTarget* target_ = nullptr;
  std::uint32_t message_ = 0;
};

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
