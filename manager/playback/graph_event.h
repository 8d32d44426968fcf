#pragma once

#include <cstdint>

namespace playback {

inline constexpr std::int32_t EC_COMPLETE = 1;    // the recording played to its end
inline constexpr std::int32_t EC_ERRORABORT = 3;  // streaming stopped on an error; param1 the code

// The message id the main window registers for channel 1's graph notices (WM_APP + 1).
inline constexpr std::uint32_t kGraphNotifyMessage = 0x8001;

struct GraphEvent {
  std::int32_t code = 0;
  std::intptr_t param1 = 0;
  std::intptr_t param2 = 0;
};

// Implemented by the main window: receives a channel's graph events, on the thread that
// called PumpGraphEvents.
class GraphEventCallback {
 public:
  virtual ~GraphEventCallback() = default;
  virtual void OnGraphEvent(std::int32_t code, std::intptr_t param1, std::intptr_t param2) = 0;
};

// The owner of a channel, woken when graph events are waiting. PostGraphNotify is called on
// GStreamer's threads; it must only schedule a PumpGraphEvents call on the owner's thread
// (a queued call in Qt, a condition variable in the command-line tool).
class GraphNotifyTarget {
 public:
  virtual ~GraphNotifyTarget() = default;
  virtual void PostGraphNotify(std::uint32_t message) = 0;
};

}  // namespace playback
