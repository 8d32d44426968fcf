#include "common/user_config.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

#include "common/atomic_file.h"
#include "common/file_reader.h"

namespace common {

namespace fs = std::filesystem;

fs::path UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && fs::path(xdg).is_absolute()) return fs::path(xdg) / "blackbox";
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr && *home != '\0' ? home : "/") / ".config" / "blackbox";
}

fs::path UserConfigFile(std::string_view name) { return UserConfigFolder() / name; }

void AdoptOldFile(const fs::path& file, const fs::path& old, std::size_t max_bytes) {
  struct stat info {};
  if (::lstat(file.c_str(), &info) == 0 || errno != ENOENT) return;
  if (::lstat(old.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  const std::optional<std::string> bytes = ReadFileRange(old, 0, max_bytes);
  if (!bytes) return;
  std::error_code ignored;
  fs::create_directories(file.parent_path(), ignored);
  WriteFileAtomically(file, *bytes);
}

}  // namespace common
