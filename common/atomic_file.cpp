#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

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
int TakePartialFile(int dir, const char* partial) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = ::openat(dir, partial, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    const bool fresh = fd >= 0;
    if (!fresh) {
      if (errno != EEXIST) return -1;
      // O_NONBLOCK: whatever lies there, a FIFO must not block us.
      fd = ::openat(dir, partial, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
      if (fd < 0) {
        if (errno == ENOENT) continue;                                     // its writer just finished
        if (errno == ELOOP && ::unlinkat(dir, partial, 0) == 0) continue;  // a link put there
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
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::fstatat(dir, partial, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !SameFile(held, named)) {
      ::close(fd);
      continue;
    }
    if (fresh) return fd;
    const bool removed = ::unlinkat(dir, partial, 0) == 0;
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

// Replaces `name` in the open folder `dir`. Working inside the folder by descriptor means that a
// folder swapped for a link meanwhile cannot send the bytes elsewhere, and the rename replaces
// whatever entry holds the name (a link put there is replaced, never followed).
bool WriteInFolder(int dir, const std::string& name, std::string_view bytes) {
  std::optional<struct stat> old;
  if (struct stat info{}; ::fstatat(dir, name.c_str(), &info, 0) == 0) {
    if (!S_ISREG(info.st_mode)) return false;  // a folder or device is not ours to replace
    old = info;
  }
  const std::string partial = name + ".partial";
  const int fd = TakePartialFile(dir, partial.c_str());
  if (fd < 0) return false;

  TakeOverAttributes(fd, old);
  const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0 && ::renameat(dir, partial.c_str(), dir, name.c_str()) == 0;
  if (ok) {
    ::fsync(dir);  // makes the rename itself durable
  } else {
    ::unlinkat(dir, partial.c_str(), 0);
  }
  // Closing last keeps the lock until the name is gone, so a waiting writer never takes over a
  // file that has become the target.
  ::close(fd);
  return ok;
}

class Folder {
 public:
  explicit Folder(int fd = -1) : fd_(fd) {}
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  Folder& operator=(Folder&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Folder() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The path of `file` below `card` (`file` is a path below the card, or one relative to it), or
// nothing when it does not lie below it once "." and ".." are resolved on the names alone: a ".."
// taken through a folder link on the card would lead off the card.
std::optional<fs::path> BelowCard(const fs::path& card, const fs::path& file) {
  fs::path base = card.lexically_normal();
  if (!base.has_filename() && base.has_relative_path()) base = base.parent_path();
  fs::path relative = file.lexically_normal().lexically_relative(base);
  if (!file.is_absolute() && (relative.empty() || *relative.begin() == "..")) relative = file.lexically_normal();
  if (relative.empty() || relative == "." || relative.is_absolute()) return std::nullopt;
  for (const fs::path& part : relative) {
    if (part == "..") return std::nullopt;
  }
  return relative;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::optional<fs::path> target = FinalTarget(path);
  if (!target || target->filename().empty()) return false;
  const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
  const Folder dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return dir.fd() >= 0 && WriteInFolder(dir.fd(), target->filename().native(), bytes);
}

CardWrite WriteCardFileAtomically(const std::filesystem::path& card_folder, const std::filesystem::path& file,
                                  std::string_view bytes, CardFolders folders) {
  const std::optional<fs::path> relative = BelowCard(card_folder, file);
  if (!relative || relative->filename().empty()) return CardWrite::kOutside;

  // The card folder itself is the user's choice and may be reached through a link.
  Folder dir(::open(card_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd() < 0) return CardWrite::kFailed;
  const fs::path name = relative->filename();
  for (const fs::path& part : relative->parent_path()) {
    struct stat info {};
    if (::fstatat(dir.fd(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT || folders != CardFolders::kCreate) return CardWrite::kFailed;
      if (::mkdirat(dir.fd(), part.c_str(), 0777) != 0 && errno != EEXIST) return CardWrite::kFailed;
    } else if (S_ISLNK(info.st_mode)) {
      return CardWrite::kLink;
    }
    Folder next(::openat(dir.fd(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (next.fd() < 0) return errno == ELOOP ? CardWrite::kLink : CardWrite::kFailed;
    dir = std::move(next);
  }
  struct stat info {};
  if (::fstatat(dir.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
    return CardWrite::kLink;
  }
  return WriteInFolder(dir.fd(), name.native(), bytes) ? CardWrite::kWritten : CardWrite::kFailed;
}

std::string CardWriteMessage(CardWrite outcome, const std::filesystem::path& file) {
  switch (outcome) {
    case CardWrite::kWritten: return {};
    case CardWrite::kLink:
      return file.string() + ": a symbolic link is in the way; files on a card are never written through one";
    case CardWrite::kOutside: return file.string() + ": lies outside the card folder; nothing was written";
    case CardWrite::kFailed: break;
  }
  return file.string() + ": cannot be written";
}

}  // namespace common
