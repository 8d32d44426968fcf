#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "manager/playback/graph_elements.h"
#include "manager/playback/gstreamer.h"
#include "manager/playback/messages.h"

namespace playback {

class CVideo;
class GraphEventQueue;

// Watches a pipeline's bus from GStreamer's threads: end of stream and errors become graph
// events (once a queue is registered), and what an open or a seek waits for (the demuxer's
// streams, a completed state change, an error) wakes the channel's owner. Every message is
// dropped after a look, so nothing piles up on the bus.
class PipelineBus {
 public:
  explicit PipelineBus(GstElement* pipeline);
  // Stops watching; by now the pipeline is in the NULL state, so no streaming thread posts.
  ~PipelineBus();
  PipelineBus(const PipelineBus&) = delete;
  PipelineBus& operator=(const PipelineBus&) = delete;

  void RegisterEvents(std::shared_ptr<GraphEventQueue> events);
  // Called on a streaming thread whenever the streams come, a state change completes or an
  // error is posted; null calls nobody. Returns only once a call under way has returned, so
  // what the previous wake reaches may go away.
  void SetWake(std::function<void()> wake);

  bool StreamsReady() const;
  bool ErrorSeen() const;
  // How many state changes and flushing seeks have completed (ASYNC_DONE) so far.
  std::uint64_t SettledCount() const;
  // Waits until more than `mark` changes have completed (kYes), an error was posted (kError),
  // or `timeout` has passed; for owners that have nothing else to do meanwhile.
  enum class Wait { kYes, kError, kTimedOut };
  [[nodiscard]] Wait AwaitSettled(std::uint64_t mark, std::chrono::milliseconds timeout) const;
  // The cause of the first error posted, in plain words; empty when none was or it is unknown.
  std::string ErrorCause() const;

  // Posted by the demuxer's no-more-pads handler.
  static void PostStreamsReady(GstElement* from);

  // Every message of the bus, on the thread that posts it.
  void Look(GstMessage* message);

 private:
  GstElement* pipeline_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool streamsReady_ = false;
  bool error_ = false;
  std::uint64_t settled_ = 0;
  StreamingError errorKind_ = StreamingError::kOther;
  std::string errorElement_;
  std::shared_ptr<GraphEventQueue> events_;
  // Held while the owner is woken, apart from mutex_: the owner may be reading the flags then.
  std::mutex wakeMutex_;
  std::function<void()> wake_;
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

// Brings the pipeline to PAUSED. A channel whose owner waits returns once the sink holds a
// picture again (true) or the change failed; a window's channel returns at once (true unless
// the change failed), the picture following when it comes.
bool PausePipeline(CVideo& video);
// An exact, flushing seek at the channel's rate that leaves the stop position alone; true once
// the pipeline has settled at the new position (an owner that waits) or the seek was taken (a
// window's channel, where the picture of the new position follows when it comes).
[[nodiscard]] bool SeekPipeline(CVideo& video, std::int64_t position);
std::optional<std::int64_t> QueryDuration(const CVideo& video);
std::optional<std::int64_t> QueryPosition(const CVideo& video);

}  // namespace playback
