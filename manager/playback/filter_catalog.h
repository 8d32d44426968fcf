#pragma once

#include <string>
#include <vector>

namespace playback {

// The GStreamer elements that play each role of a channel's graph, first to last. A role's
// elements are linked in this order inside one bin. Tests swap entries to reach failures.
struct FilterCatalog {
  std::vector<std::string> source{"filesrc", "qtdemux"};
  // The queue keeps the demuxer from waiting on one branch while the other prerolls.
  std::vector<std::string> h264Decoder{"queue", "h264parse", "avdec_h264"};
  std::vector<std::string> aacDecoder{"queue", "aacparse", "avdec_aac"};
  // A short queue lets the conversion and the window run on their own thread beside the decoder.
  std::vector<std::string> videoRenderer{"queue", "videoconvert", "appsink"};
  std::vector<std::string> audioRenderer{"audioconvert", "audioresample", "volume", "autoaudiosink"};
};

// Names the filters get in the graph.
inline constexpr const char* kSourceName = "MPC - MP4 Splitter";
inline constexpr const char* kH264DecoderName = "DivX H.264 Decoder";
inline constexpr const char* kAacDecoderName = "CoreAAC Audio Decoder";
inline constexpr const char* kVideoRendererName = "Video Mixing Renderer";
inline constexpr const char* kAudioRendererName = "DirectSound Audio Renderer";

}  // namespace playback
