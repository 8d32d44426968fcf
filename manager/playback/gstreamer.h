#pragma once

#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstPad GstPad;

namespace playback {

// Initialises GStreamer and loads the plugins of the default filters, once per process; safe
// from any thread. Programs call it at start-up so that opening the first recording is quick.
void EnsureGStreamer();
// Starts EnsureGStreamer on a thread of its own, and makes each default element once there
// (which opens the decoder libraries), so that a window's first recording opens as fast as the
// next without the window waiting for it. Returns at once; a second call does nothing.
void WarmUpInBackground();

struct GstObjectUnref {
  void operator()(void* object) const;
};

// An owned reference to a GStreamer object.
template <class T>
using GstRef = std::unique_ptr<T, GstObjectUnref>;

}  // namespace playback
