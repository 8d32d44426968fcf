#pragma once

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "manager/playback/gstreamer.h"
#include "manager/playback/graph_event_queue.h"

namespace playback {

// Watches a pipeline's bus from GStreamer's threads: end of stream and errors become graph
// events (once events are registered), and the build can wait for the demuxer's streams.
// Every message is dropped after a look, so nothing piles up on the bus.
class GraphBus {
 public:
  explicit GraphBus(GstElement* pipeline);
  ~GraphBus();  // the pipeline must be in the NULL state by now
  GraphBus(const GraphBus&) = delete;
  GraphBus& operator=(const GraphBus&) = delete;

  void RegisterEvents(std::shared_ptr<GraphEventQueue> events);
  // Waits until the demuxer has shown all its streams (true) or an error was posted (false).
  bool WaitForStreams(std::chrono::milliseconds timeout);
  bool ErrorSeen() const;

  // Posted by the demuxer's no-more-pads handler.
  static void PostStreamsReady(GstElement* from);

 private:
  static GstBusSyncReply OnMessage(GstBus* bus, GstMessage* message, gpointer self);

  GstElement* pipeline_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool streamsReady_ = false;
  bool error_ = false;
  std::shared_ptr<GraphEventQueue> events_;
};

}  // namespace playback
