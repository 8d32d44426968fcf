#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <deque>
#include <thread>
#include <string>

#include "manager/playback/graph_elements.h"
#include "manager/playback/gstreamer.h"
#include "manager/playback/messages.h"

namespace playback {

class CVideo;
class GraphEventQueue;

// Watches a pipeline's bus from GStreamer's threads: end of stream and errors become graph
// events (once a queue is registered), and the build can wait for the demuxer's streams. Every
// message is dropped after a look, so nothing piles up on the bus.
class PipelineBus {
 public:
  explicit PipelineBus(GstElement* pipeline);
  // Stops watching; by now the pipeline is in the NULL state, so no streaming thread posts.
  ~PipelineBus();
  PipelineBus(const PipelineBus&) = delete;
  PipelineBus& operator=(const PipelineBus&) = delete;

  void RegisterEvents(std::shared_ptr<GraphEventQueue> events);
  // Waits until the demuxer has shown all its streams (true) or an error was posted (false).
  bool WaitForStreams(std::chrono::milliseconds timeout);
  bool ErrorSeen() const;
  // The cause of the first error posted, in plain words; empty when none was or it is unknown.
  std::string ErrorCause() const;

  // Posted by the demuxer's no-more-pads handler.
  static void PostStreamsReady(GstElement* from);

  // Every message of the bus, on the thread that posts it.
  void Look(GstMessage* message);

 private:
  GstElement* pipeline_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool streamsReady_ = false;
  bool error_ = false;
  StreamingError errorKind_ = StreamingError::kOther;
  std::string errorElement_;
  std::shared_ptr<GraphEventQueue> events_;
};

// What is left of a channel's pipeline once the channel lets it go: the pipeline and what its
// threads still call into (the bus watch, the source bin's pad handlers).
struct PipelineRemains {
  GstRef<GstElement> graph;
  std::unique_ptr<PipelineBus> bus;
  std::unique_ptr<SourceBin> source;
  GstRef<GstElement> sink;
};

// Stops the pipeline (NULL) and releases it on a thread of its own, in the order handed over:
// a demuxer still busy with a file would otherwise hold up the window until it gives up.
// Returns at once.
void ReleaseInBackground(PipelineRemains remains);
// Waits until every pipeline handed over so far has been released (before gst_deinit).
void FinishReleases();

// Small steps on a channel's pipeline shared by the build and the transport. Positions in
// 100 ns units.

enum class Settled { kYes, kError, kTimedOut };

// Waits until a state change or flushing seek has prerolled (kYes), an error was posted or the
// change failed (kError), or `timeout` has passed (kTimedOut).
[[nodiscard]] Settled WaitUntilSettled(CVideo& video, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// An exact, flushing seek at the channel's rate that leaves the stop position alone; true once
// the pipeline has settled at the new position.
[[nodiscard]] bool SeekPipeline(CVideo& video, std::int64_t position);
std::optional<std::int64_t> QueryDuration(const CVideo& video);
std::optional<std::int64_t> QueryPosition(const CVideo& video);

}  // namespace playback
