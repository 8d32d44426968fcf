#include "manager/output/grab_frame.h"

#include "manager/playback/transport.h"

namespace output {

const playback::RgbImage* GrabFrame(playback::CVideo& video) {
  if (!video.windowless) return nullptr;
  const playback::VideoFramePtr frame = playback::CurrentFrame(video);
  if (!frame) return nullptr;
  const playback::VideoSize size = frame->Size();
  if (size.width <= 0 || size.height <= 0) return nullptr;

  playback::RgbImage& image = video.frameBuffer;
  image.width = size.width;
  image.height = size.height;
  image.pixels.resize(static_cast<std::size_t>(size.width) * size.height * 3);
  std::uint8_t* out = image.pixels.data();
  for (std::int32_t y = 0; y < size.height; ++y) {
    const auto row = frame->Row(y);
    for (std::size_t x = 0; x + 3 < row.size(); x += 4) {  // blue, green, red, unused
      *out++ = row[x + 2];
      *out++ = row[x + 1];
      *out++ = row[x];
    }
  }
  return &image;
}

}  // namespace output
