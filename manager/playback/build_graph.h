#pragma once

#include <cstdint>
#include <string>

#include "manager/playback/messages.h"
#include "manager/playback/video.h"

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

// What BuildGraph tells the main window about channel 1.
struct ResultBlock {
  std::int64_t duration = 0;         // 100 ns units
  std::int32_t hasAudioRenderer = 0; // 1 when an audio output could be opened
};

// Builds the channel's pipeline for the recording at `path`, element by element and never
// autoplugged, and leaves it paused at position 0 with the first frame on the surface.
// channelIndex 0 plays at the normal volume, any other index starts muted. A failure shows one
// message in `messages`, leaves the channel without a graph (state 0) and returns false.
// `result`, when given, gets the duration and whether an audio output could be opened, on
// every path.
bool BuildGraph(CVideo& video, ResultBlock* result, const std::string& path, int channelIndex,
                const ChannelSettings& settings, int showWindow, MessageBox& messages);

// Prepares the video renderer bin: BGRx pictures from its appsink into the channel's frame slot
// and surface. False when the bin ends in no appsink.
bool InitializeVMR(CVideo& video, GstElement* renderer);

}  // namespace playback
