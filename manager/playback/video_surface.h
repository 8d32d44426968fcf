#pragma once

#include "manager/playback/video_frame.h"
#include "manager/playback/video_geometry.h"

namespace playback {

// The window a channel draws into (the video window implements it; tests fake it). Frames
// arrive from GStreamer's streaming threads for as long as the surface is attached: the owner
// calls DetachWindow (transport.h) before the surface's own state goes away, and from then on
// nothing calls it.
class VideoSurface {
 public:
  virtual ~VideoSurface() = default;

  virtual VideoRect ClientRect() const = 0;
  // Every frame that reaches the screen, preroll frames included. Called on a streaming thread:
  // keep the frame and schedule a repaint; do not paint here, nor wait for the window's thread.
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
