#pragma once

#include <cstdint>
#include <functional>
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
  std::int64_t duration = 0;          // 100 ns units
  std::int32_t hasAudioRenderer = 0;  // 1 when an audio output could be opened
};

// What to open on a channel.
struct BuildRequest {
  std::string path;
  int channelIndex = 0;  // 0 plays at the normal volume, any other index starts muted
  ChannelSettings settings;
  int showWindow = 0;  // 1: show and update the video window once built
};

// How an open ended. A failure carries the message of the failing step, exactly as the user
// sees it, and a plain sentence of its cause when one is known.
struct BuildOutcome {
  bool built = false;
  ResultBlock result;  // on every path: the audio output; on success: the duration
  std::string message;
  std::string cause;
  bool withCause = false;  // the message goes with its cause (MessageBox::ShowFailure)
};

// Starts building the channel's pipeline for the recording, element by element and never
// autoplugged, and returns at once. Whatever the file makes GStreamer wait for (the demuxer's
// streams, the first picture) completes on the bus, and the build goes on from there on the
// channel's owner thread; `done` runs there last, with the channel paused at position 0 and the
// first frame on the surface, or without a graph (state 0) after a failure. Never runs `done`
// before returning. A teardown of the channel (or a new build) before then ends the build
// without calling `done`.
void StartBuildGraph(CVideo& video, BuildRequest request, std::function<void(const BuildOutcome&)> done);

// Shows a failed outcome's message as the build's one message box.
void ShowBuildFailure(const BuildOutcome& outcome, MessageBox& messages);

// StartBuildGraph for owners without an event loop: waits for the outcome, running the
// channel's owner queue meanwhile, and shows a failure in `messages`. `result`, when given, gets
// the duration and whether an audio output could be opened, on every path.
bool BuildGraph(CVideo& video, ResultBlock* result, const std::string& path, int channelIndex,
                const ChannelSettings& settings, int showWindow, MessageBox& messages);

// Prepares the video renderer bin: BGRx pictures from its appsink into the channel's frame slot
// and surface. False when the bin ends in no appsink.
bool InitializeVMR(CVideo& video, GstElement* renderer);

}  // namespace playback
