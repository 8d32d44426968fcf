#pragma once

#include <memory>
#include <mutex>

#include "manager/playback/gstreamer.h"
#include "manager/playback/video_frame.h"

namespace playback {

class VideoSurface;

// Receives the pictures of a channel's appsink on the streaming threads, keeps the one on screen
// for the frame grab and hands each to the video surface.
class VideoRenderer {
 public:
  VideoRenderer();
  ~VideoRenderer();
  VideoRenderer(const VideoRenderer&) = delete;
  VideoRenderer& operator=(const VideoRenderer&) = delete;

  // Sets the sink's format (BGRx), queue depth and callbacks. False when `sink` is no appsink.
  bool Attach(GstElement* sink);
  // Cuts every sink attached so far off this renderer: returns once a picture being received
  // has been, and nothing reaches the renderer from them afterwards, however long their
  // pipeline takes to stop.
  void DetachSinks();
  // Frames go to `surface` from now on; null stops them. Returns only once a frame that is being
  // handed to the previous surface has been handed over, so that surface may go away.
  void SetSurface(VideoSurface* surface);
  VideoFramePtr CurrentFrame() const;
  void Clear();

  // A decoded picture from the sink; streaming threads.
  void Receive(VideoFramePtr frame);

  // What a sink's callbacks hold: the renderer while attached, null once cut off.
  struct Gate {
    std::mutex mutex;
    VideoRenderer* target = nullptr;
  };

 private:
  std::shared_ptr<Gate> gate_;
  mutable std::mutex frameMutex_;
  VideoFramePtr current_;
  // Held while a frame is handed to the surface; apart from frameMutex_, so that the window
  // may ask for the current frame from inside PresentFrame.
  std::mutex surfaceMutex_;
  VideoSurface* surface_ = nullptr;
};

}  // namespace playback
