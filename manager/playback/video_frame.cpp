#include "manager/playback/video_frame.h"

#include <gst/gst.h>
#include <gst/video/video.h>

namespace playback {

struct VideoFrame::Mapping {
  GstSample* sample = nullptr;
  GstVideoFrame frame{};
  ~Mapping() {
    gst_video_frame_unmap(&frame);
    gst_sample_unref(sample);
  }
};

std::shared_ptr<const VideoFrame> VideoFrame::FromSample(GstSample* sample, std::int64_t lateness) {
  if (sample == nullptr) return nullptr;
  GstCaps* caps = gst_sample_get_caps(sample);
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  GstVideoInfo info;
  if (caps == nullptr || buffer == nullptr || !gst_video_info_from_caps(&info, caps)) return nullptr;
  if (GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGRx) return nullptr;

  auto mapping = std::make_unique<Mapping>();
  if (!gst_video_frame_map(&mapping->frame, &info, buffer, GST_MAP_READ)) return nullptr;
  mapping->sample = gst_sample_ref(sample);

  auto frame = std::make_shared<VideoFrame>(Key{});
  frame->pixels_ = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&mapping->frame, 0));
  frame->stride_ = GST_VIDEO_FRAME_PLANE_STRIDE(&mapping->frame, 0);
  frame->size_ = {GST_VIDEO_FRAME_WIDTH(&mapping->frame), GST_VIDEO_FRAME_HEIGHT(&mapping->frame)};
  frame->mapping_ = std::move(mapping);
  frame->lateness_ = lateness;

  // Buffer times are not playback times when the file has an edit list: go through the segment.
  const GstSegment* segment = gst_sample_get_segment(sample);
  const GstClockTime pts = GST_BUFFER_PTS(buffer);
  if (segment != nullptr && GST_CLOCK_TIME_IS_VALID(pts)) {
    const guint64 streamTime = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, pts);
    if (GST_CLOCK_TIME_IS_VALID(streamTime)) frame->position_ = static_cast<std::int64_t>(streamTime / 100);
  }
  return frame;
}

VideoFrame::VideoFrame(Key) {}
VideoFrame::~VideoFrame() = default;

std::span<const std::uint8_t> VideoFrame::Row(std::int32_t y) const {
  if (y < 0 || y >= size_.height) return {};
  return {pixels_ + static_cast<std::ptrdiff_t>(y) * stride_, static_cast<std::size_t>(size_.width) * 4};
}

}  // namespace playback
