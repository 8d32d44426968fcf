#include "manager/playback/graph_control.h"

#include <gst/gst.h>

#include <chrono>

#include "manager/playback/graph_bus.h"

namespace playback {

bool WaitUntilSettled(CVideo& video) {
  if (!video.graph) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (true) {
    // Short slices: an element that fails while prerolling never completes the state change,
    // and the error arrives on the bus instead.
    const GstStateChangeReturn result =
        gst_element_get_state(video.graph.get(), nullptr, nullptr, 20 * GST_MSECOND);
    if (result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL) return true;
    if (result == GST_STATE_CHANGE_FAILURE) return false;
    if ((video.bus && video.bus->ErrorSeen()) || std::chrono::steady_clock::now() > deadline) return false;
  }
}

bool SeekPipeline(CVideo& video, std::int64_t position) {
  if (!video.seeking || position < 0) return false;
  const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
  if (!gst_element_seek(video.seeking.get(), video.rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                        static_cast<gint64>(position) * 100, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE)) {
    return false;
  }
  return WaitUntilSettled(video);
}

std::optional<std::int64_t> QueryDuration(const CVideo& video) {
  if (!video.seeking) return std::nullopt;
  gint64 duration = 0;
  if (!gst_element_query_duration(video.seeking.get(), GST_FORMAT_TIME, &duration) || duration < 0) {
    return std::nullopt;
  }
  return duration / 100;
}

std::optional<std::int64_t> QueryPosition(const CVideo& video) {
  if (!video.seeking) return std::nullopt;
  gint64 position = 0;
  if (!gst_element_query_position(video.seeking.get(), GST_FORMAT_TIME, &position) || position < 0) {
    return std::nullopt;
  }
  return position / 100;
}

}  // namespace playback
