#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace common {

// Fixed-width integers in the byte orders of the files we read and write: MP4 box headers are
// big-endian, the camera's samples, GPS logs and trip databases little-endian. Readers take a
// pointer to at least 4 valid bytes: the caller checks the bounds.

inline std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

inline std::uint32_t ReadLittleEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | std::uint32_t{p[0]};
}

inline float ReadLittleEndianFloat(const std::uint8_t* p) { return std::bit_cast<float>(ReadLittleEndian32(p)); }

// Overwrites the 4 bytes of `out` at `offset`, which must lie inside it.
inline void PutLittleEndian32(std::string& out, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<char>(value >> (8 * i));
}

inline void AppendLittleEndian32(std::string& out, std::uint32_t value) {
  out.resize(out.size() + 4);
  PutLittleEndian32(out, out.size() - 4, value);
}

inline void AppendBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

}  // namespace common
