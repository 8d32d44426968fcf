#pragma once

#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "manager/playback/gstreamer.h"
#include "manager/playback/video_geometry.h"

namespace playback {

// The GStreamer elements that play each role of a channel's pipeline, first to last. A role's
// elements are linked in this order inside one bin. Tests swap entries to reach failures.
struct ElementCatalog {
  std::vector<std::string> source{"filesrc", "qtdemux"};
  // The queue keeps the demuxer from waiting on one branch while the other prerolls.
  std::vector<std::string> h264Decoder{"queue", "h264parse", "avdec_h264"};
  std::vector<std::string> aacDecoder{"queue", "aacparse", "avdec_aac"};
  // A short queue lets the conversion and the window run on their own thread beside the decoder.
  std::vector<std::string> videoRenderer{"queue", "videoconvert", "appsink"};
  std::vector<std::string> audioRenderer{"audioconvert", "audioresample", "volume", "autoaudiosink"};
};

// Names of the role bins in the pipeline.
inline constexpr const char* kSourceBin = "source";
inline constexpr const char* kVideoDecoderBin = "video-decoder";
inline constexpr const char* kAudioDecoderBin = "audio-decoder";
inline constexpr const char* kVideoSinkBin = "video-sink";
inline constexpr const char* kAudioSinkBin = "audio-sink";

// The elements of a role linked in order inside a bin named `name`, with the first element's
// "sink" pad as the bin's sink pad and the last element's "src" pad as its source pad, where
// they have them. Elements are named after their factory. Null when an element cannot be made
// or the elements do not link.
GstRef<GstElement> MakeElementChain(const char* name, std::span<const std::string> factories);

// The audio sink bin, or null when no audio output can be opened: the channel then plays
// without sound. The sink is left open (READY) for the pipeline to take over.
GstRef<GstElement> OpenAudioOutput(std::span<const std::string> factories);

// The source bin: a file source and a demuxer. The demuxer shows its streams only once it has
// read the file, so each stream becomes a source pad of the bin as it appears, held back by a
// blocking probe until the pipeline is linked and starts streaming.
class SourceBin {
 public:
  SourceBin() = default;
  ~SourceBin();
  SourceBin(const SourceBin&) = delete;
  SourceBin& operator=(const SourceBin&) = delete;

  // Makes the bin of `factories`: a file source first, a demuxer last.
  GstRef<GstElement> Make(std::span<const std::string> factories);
  // Lets the held-back data flow; called once the pipeline is linked and paused.
  void StartFlowing();

  // The demuxer's signals, on its streaming thread.
  void OnPadAdded(GstPad* pad);
  void OnNoMorePads();

 private:
  struct Held {
    GstRef<GstPad> pad;
    unsigned long probe;
  };
  std::mutex mutex_;
  GstElement* bin_ = nullptr;  // owned by the pipeline
  std::vector<Held> held_;
};

// The file source inside a source bin (its first element, when that takes a location); null
// otherwise.
[[nodiscard]] GstRef<GstElement> FileSourceOf(GstElement* source, std::span<const std::string> factories);

enum class PadDirection { kSink, kSource };

// The first pad of `element` in the given direction that is not linked; null when every pad is
// linked.
[[nodiscard]] GstRef<GstPad> FindFreePad(GstElement* element, PadDirection direction);

enum class LinkResult { kLinked, kNoPadFree, kFormatMismatch, kPadTaken, kRefused };

// Links `source` to the first free sink pad of `downstream`. No converter is ever put in
// between: the formats must match as they are.
[[nodiscard]] LinkResult LinkToFreeSinkPad(GstPad* source, GstElement* downstream);
// Links the first free source pad of `upstream` to the first free sink pad of `downstream`.
[[nodiscard]] LinkResult LinkFreePads(GstElement* upstream, GstElement* downstream);

// Whether the element's pads of that direction are all linked.
[[nodiscard]] bool AllPadsLinked(GstElement* element, PadDirection direction);

// Takes a branch element out of the pipeline unless its sink pads (and, with `needsSource`, its
// source pads) are linked: a decoder without a sink or a sink without a stream would stall the
// stream it sits on.
void RemoveUnlessLinked(GstElement* pipeline, GstElement* element, bool needsSource);

// The picture size a video pad's formats declare.
std::optional<VideoSize> DeclaredVideoSize(GstPad* pad);

}  // namespace playback
