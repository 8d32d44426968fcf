#pragma once

#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "manager/playback/gstreamer.h"

namespace playback {

// The MP4 source and splitter: a file source and a demuxer in one bin. The demuxer shows its
// streams only once it has read the file, so each stream becomes an output pin of the bin as it
// appears, held back by a blocking probe until the graph is connected and starts streaming.
class SourceStreams {
 public:
  SourceStreams() = default;
  ~SourceStreams();
  SourceStreams(const SourceStreams&) = delete;
  SourceStreams& operator=(const SourceStreams&) = delete;

  // Makes the bin (named kSourceName) of `factories`: a file source first, a demuxer last.
  GstRef<GstElement> MakeFilter(std::span<const std::string> factories);
  // Lets the held-back data flow; called once the graph is connected and paused.
  void StartFlowing();

 private:
  static void OnPadAdded(GstElement* demuxer, GstPad* pad, void* self);
  static void OnNoMorePads(GstElement* demuxer, void* self);

  struct Held {
    GstPad* pad;
    unsigned long probe;
  };
  std::mutex mutex_;
  GstElement* bin_ = nullptr;  // owned by the graph
  std::vector<Held> held_;
};

}  // namespace playback
