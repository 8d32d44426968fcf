#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace recording {

// The MP4 box headers are big-endian; the camera's sample values are little-endian.
// Callers check bounds before reading: these take a pointer to at least 4 valid bytes.

inline std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

inline std::uint32_t ReadLittleEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) |
         std::uint32_t{p[0]};
}

inline float ReadLittleEndianFloat(const std::uint8_t* p) {
  return std::bit_cast<float>(ReadLittleEndian32(p));
}

// Four-character box types compared as raw bytes.
inline bool TypeIs(const std::uint8_t* p, std::string_view type) {
  return type.size() == 4 && std::memcmp(p, type.data(), 4) == 0;
}

}  // namespace recording
