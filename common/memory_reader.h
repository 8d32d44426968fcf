#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace common {

// Bytes in memory read the way FileReader reads a file (Size, ReadAt), so that a parser written
// over a reader runs over a file or over bytes alike: the fuzz targets hand it their input.
class MemoryReader {
 public:
  explicit MemoryReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t Size() const { return bytes_.size(); }

  // Up to `out.size()` bytes at `offset`: all of them unless the bytes end first.
  std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= bytes_.size()) return 0;
    const std::size_t n = std::min<std::size_t>(out.size(), bytes_.size() - static_cast<std::size_t>(offset));
    if (n > 0) std::memcpy(out.data(), bytes_.data() + offset, n);
    return n;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace common
