#include "common/path_text.h"

#include <algorithm>

namespace common {
namespace {

std::size_t AfterLastSeparator(std::string_view path) {
  const auto last = std::find_if(path.rbegin(), path.rend(), IsPathSeparator);
  return static_cast<std::size_t>(path.rend() - last);
}

// Windows-style paths ("E:\cards") keep backslashes; everything else is native.
char SeparatorStyleOf(std::string_view path) {
  const bool drive =
      path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive && path.find('/') == std::string_view::npos ? '\\' : '/';
}

}  // namespace

std::string_view FileNameOf(std::string_view path) { return path.substr(AfterLastSeparator(path)); }

std::string_view FolderOf(std::string_view path) { return path.substr(0, AfterLastSeparator(path)); }

std::string WithTrailingSeparator(std::string_view folder) {
  std::string result(folder);
  if (!result.empty() && !IsPathSeparator(result.back())) result += SeparatorStyleOf(folder);
  return result;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path = WithTrailingSeparator(folder);
  path += name;
  return path;
}

}  // namespace common
