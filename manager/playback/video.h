#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
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
struct PendingBuild;

// The thread that owns a channel, as GStreamer's threads reach it: they hand it the next step
// of an open, which must then run there. A window posts the task as a queued call; programs
// without an event loop keep a TaskQueue and run it while they wait.
class OwnerThread {
 public:
  virtual ~OwnerThread() = default;
  // Runs `task` on the owner's thread, later. Any thread; never waits for the task.
  virtual void Post(std::function<void()> task) = 0;
  // Runs `task` on the owner's thread once `delay` has passed. Owner's thread only.
  virtual void PostDelayed(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

// An owner thread for programs without an event loop: tasks wait here until the owner runs them.
class TaskQueue : public OwnerThread {
 public:
  void Post(std::function<void()> task) override;
  void PostDelayed(std::chrono::milliseconds delay, std::function<void()> task) override;
  // Waits for the next task posted or due, and runs it.
  void RunNext();

 private:
  struct Delayed {
    std::chrono::steady_clock::time_point due;
    std::function<void()> task;
  };
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
  std::deque<Delayed> delayed_;
};

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
  VideoRect videoRect;  // client rectangle of the video window
  VideoSurface* videoWindow = nullptr;
  RgbImage frameBuffer;                // the last grabbed frame
  std::vector<std::uint8_t> jpegArea;  // kJpegAreaSize bytes for the JPEG encoder

  GstRef<GstElement> graph;                 // the pipeline; null without a graph
  GstRef<GstElement> windowless;            // the video renderer's appsink, whose frames the window shows
  std::shared_ptr<GraphEventQueue> events;  // only when the channel reports events

  ElementCatalog filters;  // which elements play each role

  // Where the steps of an open and their time limits run. By default the channel's own queue,
  // which the blocking helpers (BuildGraph, the transport without a window) run while they
  // wait; a window sets itself, and then nothing on this channel ever waits.
  OwnerThread* owner;
  bool OwnerWaits() const { return owner == &waitingOwner; }
  TaskQueue waitingOwner;

  // Engine internals.
  double rate = 1.0;                    // GStreamer forgets the rate at every seek that does not pass it
  VideoRect destinationRect;            // letter-boxed picture inside videoRect
  std::optional<VideoSize> streamSize;  // the video stream's size as the file declares it
  std::unique_ptr<PipelineBus> bus;
  std::unique_ptr<SourceBin> source;
  std::unique_ptr<VideoRenderer> renderer;
  // The last seek's target until it has settled: the position a window shows meanwhile.
  std::optional<std::int64_t> seekTarget;
  std::uint64_t seekMark = 0;           // completed state changes when it was asked
  std::shared_ptr<PendingBuild> build;  // an open under way (build_graph.cpp)
  std::uint64_t buildNumber = 0;        // counts opens and teardowns: a step of an older one is dropped
};

}  // namespace playback
