#include "manager/playback/video_renderer.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include "manager/playback/video_surface.h"

namespace playback {
namespace {

// How late the sample reaches the sink against the pipeline clock, in 100 ns units.
std::int64_t LatenessOf(GstElement* sink, GstSample* sample) {
  const GstRef<GstClock> clock(gst_element_get_clock(sink));
  if (!clock) return 0;
  const GstClockTime now = gst_clock_get_time(clock.get());
  const GstClockTime base = gst_element_get_base_time(sink);
  const GstSegment* segment = gst_sample_get_segment(sample);
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  if (segment == nullptr || buffer == nullptr || now < base) return 0;
  const guint64 due = gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
  if (!GST_CLOCK_TIME_IS_VALID(due)) return 0;
  return (static_cast<std::int64_t>(now - base) - static_cast<std::int64_t>(due)) / 100;
}

using GatePtr = std::shared_ptr<VideoRenderer::Gate>;

void Deliver(gpointer gate, VideoFramePtr frame) {
  VideoRenderer::Gate& open = **static_cast<GatePtr*>(gate);
  std::lock_guard lock(open.mutex);
  if (open.target != nullptr) open.target->Receive(std::move(frame));
}

GstFlowReturn OnPreroll(GstAppSink* sink, gpointer gate) {
  // Keep the preroll sample here: a second pull_preroll would block.
  GstSample* sample = gst_app_sink_pull_preroll(sink);
  if (sample == nullptr) return GST_FLOW_OK;
  Deliver(gate, VideoFrame::FromSample(sample, 0));
  gst_sample_unref(sample);
  return GST_FLOW_OK;
}

GstFlowReturn OnSample(GstAppSink* sink, gpointer gate) {
  GstSample* sample = gst_app_sink_pull_sample(sink);
  if (sample == nullptr) return GST_FLOW_OK;
  const std::int64_t lateness = LatenessOf(GST_ELEMENT(sink), sample);
  Deliver(gate, VideoFrame::FromSample(sample, lateness));
  gst_sample_unref(sample);
  return GST_FLOW_OK;
}

void ReleaseGate(gpointer gate) { delete static_cast<GatePtr*>(gate); }

}  // namespace

VideoRenderer::VideoRenderer() : gate_(std::make_shared<Gate>()) { gate_->target = this; }

VideoRenderer::~VideoRenderer() {
  std::lock_guard lock(gate_->mutex);
  gate_->target = nullptr;
}

void VideoRenderer::DetachSinks() {
  {
    std::lock_guard lock(gate_->mutex);
    gate_->target = nullptr;
  }
  gate_ = std::make_shared<Gate>();
  gate_->target = this;
}

bool VideoRenderer::Attach(GstElement* sink) {
  if (sink == nullptr || !GST_IS_APP_SINK(sink)) return false;
  GstCaps* caps = gst_caps_from_string("video/x-raw,format=BGRx");
  // One picture in flight, and like a video sink: drop what is more than 20 ms late and tell the
  // decoder (QoS), so a slow machine skips frames instead of falling behind the clock.
  g_object_set(sink, "caps", caps, "max-buffers", 1u, "drop", TRUE, "sync", TRUE, "qos", TRUE, "max-lateness",
               static_cast<gint64>(20 * GST_MSECOND), "enable-last-sample", FALSE, nullptr);
  gst_caps_unref(caps);
  GstAppSinkCallbacks callbacks{};
  callbacks.new_preroll = &OnPreroll;
  callbacks.new_sample = &OnSample;
  // The sink's threads may outlive this renderer (a pipeline is stopped on a thread of its
  // own): they hold the gate, not the renderer.
  gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, new GatePtr(gate_), &ReleaseGate);
  return true;
}

void VideoRenderer::Receive(VideoFramePtr frame) {
  if (!frame) return;
  {
    std::lock_guard lock(frameMutex_);
    current_ = frame;
  }
  std::lock_guard lock(surfaceMutex_);
  if (surface_ != nullptr) surface_->PresentFrame(std::move(frame));
}

void VideoRenderer::SetSurface(VideoSurface* surface) {
  std::lock_guard lock(surfaceMutex_);
  surface_ = surface;
}

VideoFramePtr VideoRenderer::CurrentFrame() const {
  std::lock_guard lock(frameMutex_);
  return current_;
}

void VideoRenderer::Clear() {
  std::lock_guard lock(frameMutex_);
  current_.reset();
}

VideoRect LetterBox(VideoSize picture, const VideoRect& area) {
  const std::int64_t areaWidth = area.Width();
  const std::int64_t areaHeight = area.Height();
  if (picture.width <= 0 || picture.height <= 0 || areaWidth <= 0 || areaHeight <= 0) {
    return {area.left, area.top, area.left, area.top};
  }
  std::int64_t width = areaWidth;
  std::int64_t height = areaWidth * picture.height / picture.width;
  if (height > areaHeight) {
    height = areaHeight;
    width = areaHeight * picture.width / picture.height;
  }
  const auto left = static_cast<std::int32_t>(area.left + (areaWidth - width) / 2);
  const auto top = static_cast<std::int32_t>(area.top + (areaHeight - height) / 2);
  return {left, top, left + static_cast<std::int32_t>(width), top + static_cast<std::int32_t>(height)};
}

}  // namespace playback
