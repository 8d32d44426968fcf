#pragma once

#include <cstdint>
#include <vector>

namespace playback {

// A picture as 24-bit RGB: red, green, blue a pixel, rows top first, no row padding.
struct RgbImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;  // width x height x 3 bytes
};

}  // namespace playback
