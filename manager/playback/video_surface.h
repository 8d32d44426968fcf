#pragma once

#include "manager/playback/video_frame.h"
#include "manager/playback/video_rect.h"

namespace playback {

// The window a channel draws into (the video window implements it; tests fake it). The owner
// must tear the channel down before the surface goes away, since frames arrive from GStreamer's
// streaming threads until then.
class VideoSurface {
 public:
  virtual ~VideoSurface() = default;

  virtual VideoRect ClientRect() const = 0;
  // Every frame that reaches the screen, preroll frames included. Called on a streaming thread:
  // keep the frame and schedule a repaint, do not paint here.
  virtual void PresentFrame(VideoFramePtr frame) = 0;
  // Inside the surface's own paint: fill the client area with black and draw `frame` (may be
  // null) scaled into `destination`.
  virtual void PaintFrame(const VideoFrame* frame, const VideoRect& destination) = 0;
  // Schedule a repaint with the background erased.
  virtual void Invalidate() = 0;
  // Make the window visible and paint it now.
  virtual void ShowAndUpdate() = 0;
};

}  // namespace playback
