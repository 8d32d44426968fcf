#pragma once

#include <string>
#include <string_view>

namespace common {

// Paths as texts, the way the camera's Windows-era rules see them: '/' and '\' both separate
// folders, so a path written with backslashes ("E:\DCIM\drf_...mp4") is taken apart the same way
// as a native one.

constexpr bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// The last component of `path`, and everything before it including the separator. A path
// without a separator is all name and no folder.
std::string_view FileNameOf(std::string_view path);
std::string_view FolderOf(std::string_view path);

// `folder` ending with one separator, as folders are kept: one is added unless it already ends
// in one, a backslash for a Windows drive path without slashes ("E:\cards"), else '/'. An
// empty folder stays empty: it means "no folder", never the root.
std::string WithTrailingSeparator(std::string_view folder);

// `name` inside `folder`, with one separator between them; `name` alone for an empty folder.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace common
