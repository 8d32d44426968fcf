#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace output {

// Encodes a 24-bit RGB picture (top row first, no padding) as a baseline JPEG, YCbCr with
// chroma halved both ways (4:2:0), quality 100, into `area`. Returns the length of the stream,
// or 0 when the input is not width x height x 3 bytes, encoding fails, or the stream does not
// fit the area.
std::size_t EncodeJpeg(std::span<const std::uint8_t> pixels, int width, int height, std::span<std::uint8_t> area);

}  // namespace output
