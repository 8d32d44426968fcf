#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "manager/playback/graph_elements.h"
#include "manager/playback/graph_event.h"
#include "manager/playback/gstreamer.h"
#include "manager/playback/video_frame.h"
#include "manager/playback/video_geometry.h"
#include "manager/playback/video_surface.h"

namespace playback {

class PipelineBus;
class VideoRenderer;

inline constexpr std::size_t kJpegAreaSize = 2'000'000;

// What the last command left a channel doing; the numbers are those the window reports.
enum class EngineState : std::int32_t { kNoGraph = 0, kStopped = 1, kPaused = 2, kRunning = 3 };

// One channel's playback engine: its GStreamer pipeline and what the transport needs of it.
// BuildGraph (build_graph.h) fills it, the transport operations (transport.h) drive it.
// Lives at one address for its whole life: GStreamer's threads hold pointers into it.
class CVideo {
 public:
  CVideo();
  virtual ~CVideo();  // detaches the windows, then tears the pipeline down
  CVideo(const CVideo&) = delete;
  CVideo& operator=(const CVideo&) = delete;

  // Engine state as the last command left it.
  EngineState state = EngineState::kNoGraph;
  GraphNotifyTarget* notifyWindow = nullptr;  // woken when graph events are queued
  std::uint32_t notifyMessage = 0;
  VideoRect videoRect;                         // client rectangle of the video window
  VideoSurface* videoWindow = nullptr;
  RgbImage frameBuffer;                        // the last grabbed frame
  std::vector<std::uint8_t> jpegArea;          // kJpegAreaSize bytes for the JPEG encoder

  GstRef<GstElement> graph;       // the pipeline; null without a graph
  GstRef<GstElement> windowless;  // the video renderer's appsink, whose frames the window shows
  std::shared_ptr<GraphEventQueue> events;  // only when the channel reports events

  ElementCatalog filters;  // which elements play each role

  // Engine internals.
  double rate = 1.0;                 // GStreamer forgets the rate at every seek that does not pass it
  VideoRect destinationRect;         // letter-boxed picture inside videoRect
  std::optional<VideoSize> streamSize;  // the video stream's size as the file declares it
  std::unique_ptr<PipelineBus> bus;
  std::unique_ptr<SourceBin> source;
  std::unique_ptr<VideoRenderer> renderer;
};

}  // namespace playback
