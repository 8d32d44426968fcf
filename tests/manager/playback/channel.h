#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>
#include <vector>

#include "manager/playback/build_graph.h"
#include "manager/playback/graph_event.h"
#include "manager/playback/transport.h"
#include "manager/playback/video.h"
#include "tests/manager/playback/playback_fixtures.h"

namespace playback_testing {

struct ReceivedEvent {
  playback::GraphEventCode code;
  std::intptr_t param1;
  std::thread::id thread;
};

// One channel as the main window holds it: engine, surface, messages and event wake-ups.
struct Channel : playback::GraphEventCallback {
  playback::CVideo video;
  FakeSurface surface;
  RecordedMessages messages;
  playback::GraphNotifyWaiter waiter;
  playback::ResultBlock result;
  std::vector<ReceivedEvent> events;

  Channel() {
    playback::AttachWindow(video, &surface);
    video.notifyWindow = &waiter;
    video.notifyMessage = playback::kGraphNotifyMessage;
  }
  ~Channel() override { playback::Teardown(video); }

  bool Build(const std::filesystem::path& path, int channelIndex = 0, int eventsOn = 1) {
    playback::ChannelSettings settings;
    settings.channelNumber = channelIndex + 1;
    settings.eventsOn = eventsOn;
    return playback::BuildGraph(video, &result, path.string(), channelIndex, settings, 1, messages);
  }

  void OnGraphEvent(playback::GraphEventCode code, std::intptr_t param1, std::intptr_t) override {
    events.push_back({code, param1, std::this_thread::get_id()});
  }

  // Pumps events on this thread until one with `code` arrives or `timeout` passes.
  bool WaitForEvent(playback::GraphEventCode code, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
      playback::PumpGraphEvents(video, this);
      for (const ReceivedEvent& event : events) {
        if (event.code == code) return true;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      waiter.Wait(left);
    }
  }

  std::int64_t Position() const {
    std::int64_t position = -1;
    playback::ReadPosition(video, &position);
    return position;
  }
};

}  // namespace playback_testing
