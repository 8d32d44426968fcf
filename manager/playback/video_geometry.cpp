#include "manager/playback/video_geometry.h"

#include <cstdint>

namespace playback {

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
