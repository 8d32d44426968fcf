#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "manager/playback/video_geometry.h"

typedef struct _GstSample GstSample;

namespace playback {

// One decoded picture as the renderer received it: 4 bytes a pixel in the order blue, green,
// red, unused (Qt's RGB32 on little-endian machines), rows top first and possibly padded. The
// frame holds the decoder's buffer; nothing is copied.
class VideoFrame {
 public:
  // Null when the sample holds no mappable BGRx picture.
  static std::shared_ptr<const VideoFrame> FromSample(GstSample* sample, std::int64_t lateness);

 private:
  struct Key {};

 public:
  explicit VideoFrame(Key);  // only through FromSample
  ~VideoFrame();
  VideoFrame(const VideoFrame&) = delete;
  VideoFrame& operator=(const VideoFrame&) = delete;

  VideoSize Size() const { return size_; }
  std::int32_t Stride() const { return stride_; }
  // Row y (0 = top), width x 4 bytes; y must be below the height.
  std::span<const std::uint8_t> Row(std::int32_t y) const;
  // Playback position of the picture in 100 ns units (stream time, edit lists applied).
  std::int64_t Position() const { return position_; }
  // How long after its due time the picture reached the renderer, 100 ns units (0 when paused).
  std::int64_t Lateness() const { return lateness_; }

 private:
  struct Mapping;
  std::unique_ptr<Mapping> mapping_;
  const std::uint8_t* pixels_ = nullptr;
  VideoSize size_;
  std::int32_t stride_ = 0;
  std::int64_t position_ = 0;
  std::int64_t lateness_ = 0;
};

using VideoFramePtr = std::shared_ptr<const VideoFrame>;

// A picture as 24-bit RGB: red, green, blue a pixel, rows top first, no row padding.
struct RgbImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;  // width x height x 3 bytes
};

}  // namespace playback
