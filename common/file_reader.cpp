#include "common/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace common {

std::optional<FileReader> FileReader::Open(const std::filesystem::path& path) {
  // O_NONBLOCK keeps open() from waiting for a FIFO's writer; regular files ignore it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    ::close(fd);
    return std::nullopt;
  }
  return FileReader(fd, static_cast<std::uint64_t>(info.st_size));
}

FileReader::FileReader(FileReader&& other) noexcept : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
  }
  return *this;
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::size_t> FileReader::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  constexpr auto kLargestOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  std::size_t done = 0;
  while (done < out.size()) {
    if (offset > kLargestOffset - done) break;  // past any file
    const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::optional<std::string> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset,
                                         std::uint64_t length) {
  const std::optional<FileReader> file = FileReader::Open(path);
  if (!file) return std::nullopt;
  // The size is a first guess only: files of /proc and /sys tell 0 or a page, and any file may
  // grow or shrink while it is read. Read until the file ends or `length` is reached.
  constexpr std::uint64_t kStep = 64 * 1024;
  const std::uint64_t told = offset < file->Size() ? file->Size() - offset : 0;
  std::uint64_t chunk = std::min(length, told > 0 ? told : kStep);
  std::string bytes;
  // Room for the read that finds the end, so the bytes read are never moved for it.
  bytes.reserve(static_cast<std::size_t>(std::min(length, chunk + kStep)));
  while (chunk > 0) {
    const std::size_t done = bytes.size();
    bytes.resize(done + static_cast<std::size_t>(chunk));
    const auto read = file->ReadAt(offset + done, {reinterpret_cast<std::uint8_t*>(bytes.data()) + done, chunk});
    if (!read) return std::nullopt;
    bytes.resize(done + *read);
    if (*read < chunk) break;
    chunk = std::min(length - bytes.size(), kStep);
  }
  return bytes;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  return ReadFileRange(path, 0, std::numeric_limits<std::uint64_t>::max());
}

}  // namespace common
