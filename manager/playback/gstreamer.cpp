#include "manager/playback/gstreamer.h"

#include <gst/gst.h>

#include <mutex>

namespace playback {

void EnsureGStreamer() {
  static std::once_flag once;
  std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

void GstObjectUnref::operator()(void* object) const {
  if (object != nullptr) gst_object_unref(object);
}

}  // namespace playback
