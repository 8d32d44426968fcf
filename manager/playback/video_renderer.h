#pragma once

#include <gst/app/gstappsink.h>

#include <cstdint>
#include <mutex>

#include "manager/playback/gstreamer.h"
#include "manager/playback/video_frame.h"
#include "manager/playback/video_surface.h"

namespace playback {

// Receives the pictures of a channel's appsink on the streaming threads, keeps the one on screen
// for the frame grab and hands each to the video surface.
class VideoRenderer {
 public:
  // Sets the sink's format (BGRx), queue depth and callbacks. False when `sink` is no appsink.
  bool Attach(GstElement* sink);
  void SetSurface(VideoSurface* surface);
  VideoFramePtr CurrentFrame() const;
  void Clear();

 private:
  void Receive(VideoFramePtr frame);
  static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer self);
  static GstFlowReturn OnSample(GstAppSink* sink, gpointer self);

  mutable std::mutex mutex_;
  VideoFramePtr current_;
  VideoSurface* surface_ = nullptr;
};

}  // namespace playback
