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

FileReader::FileReader(FileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

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
  const std::uint64_t available = offset < file->Size() ? file->Size() - offset : 0;
  std::string bytes(static_cast<std::size_t>(std::min(length, available)), '\0');
  const auto read = file->ReadAt(offset, {reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()});
  if (!read) return std::nullopt;
  bytes.resize(*read);  // the file may have shrunk since it was opened
  return bytes;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  return ReadFileRange(path, 0, std::numeric_limits<std::uint64_t>::max());
}

}  // namespace common
