#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace common {

// A regular file opened for reading: the one way the project reads files. Every read names its
// offset, so reads need no seeking and may come in any order.
class FileReader {
 public:
  // Opens `path` when it is a regular file (or a link to one). Folders, FIFOs and devices are
  // refused without blocking: a FIFO on a card image would otherwise hang the caller.
  static std::optional<FileReader> Open(const std::filesystem::path& path);

  FileReader(FileReader&& other) noexcept;
  FileReader& operator=(FileReader&& other) noexcept;
  ~FileReader();

  // The size when the file was opened.
  std::uint64_t Size() const { return size_; }

  // Reads up to `out.size()` bytes at `offset` into `out`: all of them unless the file ends
  // first. The count read, or nothing on a read error.
  std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

 private:
  FileReader(int fd, std::uint64_t size) : fd_(fd), size_(size) {}

  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Up to `length` bytes of a regular file from `offset` (fewer when the file ends first), or
// nothing when it cannot be opened or read.
std::optional<std::string> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset, std::uint64_t length);

// The whole of a regular file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The bytes of a text, for the parsers that take bytes.
inline std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace common
