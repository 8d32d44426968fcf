#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <string>

namespace common {
namespace {

namespace fs = std::filesystem;

// Linux gives up on a chain of links at this depth too.
constexpr int kMostLinks = 40;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a chain of symbolic links ends at (which need not exist yet), or nothing for a loop.
std::optional<fs::path> FinalTarget(fs::path path) {
  for (int hop = 0; hop <= kMostLinks; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::error_code error;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

// The process's umask, read without changing it (umask() would, for a moment, for every thread).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8) & 0777);
  }
  return 022;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Takes `partial` for this writer: a fresh file that no other writer holds, with mode 0600 for
// now. A file of that name left by a crash is removed first; a writer of the same file still at
// work is waited for.
int TakePartialFile(const fs::path& partial) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = ::open(partial.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    const bool fresh = fd >= 0;
    if (!fresh) {
      if (errno != EEXIST) return -1;
      // O_NONBLOCK: whatever lies there, a FIFO must not block us.
      fd = ::open(partial.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
      if (fd < 0) {
        if (errno == ENOENT) continue;  // its writer just finished
        if (errno == ELOOP && ::unlink(partial.c_str()) == 0) continue;  // a link put there
        return -1;
      }
    }
    // The lock dies with its process, so a file nobody holds was left by a crash. File systems
    // without locks (ENOLCK, EOPNOTSUPP) still get the rest.
    int locked;
    while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0 && errno != ENOLCK && errno != EOPNOTSUPP && errno != EINVAL) {
      ::close(fd);
      return -1;
    }
    // The name may have been renamed or removed by the writer we waited for.
    struct stat held {}, named {};
    if (::fstat(fd, &held) != 0 || ::lstat(partial.c_str(), &named) != 0 || !SameFile(held, named)) {
      ::close(fd);
      continue;
    }
    if (fresh) return fd;
    const bool removed = ::unlink(partial.c_str()) == 0;
    ::close(fd);
    if (!removed) return -1;
  }
  return -1;
}

// Gives the new file the replaced file's owner and mode, or a new file's mode. Failures are
// ignored: the file stays 0600, which hides nothing it should show to its owner, and file
// systems without Unix owners (FAT) refuse these calls by design.
void TakeOverAttributes(int fd, const std::optional<struct stat>& old) {
  if (old) {
    if (::fchown(fd, old->st_uid, old->st_gid) != 0) (void)!::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    ::fchmod(fd, old->st_mode & 07777);
  } else {
    ::fchmod(fd, 0666 & ~CurrentUmask());
  }
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::optional<fs::path> target = FinalTarget(path);
  if (!target || target->filename().empty()) return false;

  std::optional<struct stat> old;
  if (struct stat info {}; ::stat(target->c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return false;  // a folder or device is not ours to replace
    old = info;
  }

  fs::path partial = *target;
  partial += ".partial";
  const int fd = TakePartialFile(partial);
  if (fd < 0) return false;

  TakeOverAttributes(fd, old);
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0 && ::rename(partial.c_str(), target->c_str()) == 0;
  if (ok) {
    // Make the rename itself durable where the folder can be opened.
    const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  } else {
    ::unlink(partial.c_str());
  }
  // Closing last keeps the lock until the name is gone, so a waiting writer never takes over a
  // file that has become the target.
  ::close(fd);
  return ok;
}

}  // namespace common
