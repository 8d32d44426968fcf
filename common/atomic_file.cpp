#include "common/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace common {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Creates a new temporary file next to `path`, with the usual permissions of a new file.
int CreateTemporary(const std::filesystem::path& path, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::string pattern;
  const int fd = CreateTemporary(path, pattern);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(pattern.c_str(), path.c_str()) == 0) {
    // Make the rename itself durable where the folder can be opened.
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }
  ::unlink(pattern.c_str());
  return false;
}

}  // namespace common
