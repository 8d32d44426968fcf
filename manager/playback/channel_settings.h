#pragma once

#include <cstdint>

namespace playback {

// Per-window options the main window fills at start.
struct ChannelSettings {
  std::int32_t channelNumber = 2;  // 1 for the channel-1 window
  std::int32_t mosaicOn = 0;       // reserved, always 0
  std::int32_t mosaicParameter = 0;
  std::int32_t cropLeft = 0;
  std::int32_t cropTop = 0;
  std::int32_t cropRight = 0;
  std::int32_t cropBottom = 0;
  std::int32_t eventsOn = 0;  // 1: queue graph events and wake the notify target
};

}  // namespace playback
