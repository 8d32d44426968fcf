#pragma once

#include <string>

#include "manager/playback/channel_settings.h"
#include "manager/playback/message_box.h"
#include "manager/playback/result_block.h"
#include "manager/playback/video.h"

namespace playback {

// Builds the channel's graph for the recording at `path`, filter by filter and never
// autoplugged, and leaves it paused at position 0 with the first frame on the surface.
// channelIndex 0 plays at the normal volume, any other index starts muted. A failure shows one
// message in `messages`, leaves the channel without a graph (state 0) and returns false.
// `result`, when given, gets the duration and whether an audio output could be opened, on
// every path.
bool BuildGraph(CVideo& video, ResultBlock* result, const std::string& path, int channelIndex,
                const ChannelSettings& settings, int showWindow, MessageBox& messages);

// Prepares the video renderer: BGRx pictures into the channel's frame slot and surface.
bool InitializeVMR(CVideo& video, GstElement* renderer);

}  // namespace playback
