#pragma once

#include <cstdint>

namespace playback {

struct VideoRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  friend bool operator==(const VideoRect&, const VideoRect&) = default;
};

struct VideoSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const VideoSize&, const VideoSize&) = default;
};

// The largest rectangle of the picture's aspect ratio that fits `area`, centred in it; the bands
// left over stay black. An empty picture or area gives an empty rectangle at the area's origin.
VideoRect LetterBox(VideoSize picture, const VideoRect& area);

}  // namespace playback
