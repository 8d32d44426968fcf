#pragma once

#include <cstdint>

namespace playback {

// What BuildGraph tells the main window about channel 1.
struct ResultBlock {
  std::int64_t duration = 0;         // 100 ns units
  std::int32_t hasAudioRenderer = 0; // 1 when an audio output could be opened
};

}  // namespace playback
