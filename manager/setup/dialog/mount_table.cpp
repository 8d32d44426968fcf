#include "manager/setup/dialog/mount_table.h"

#include <filesystem>
#include <sstream>

namespace setup {
namespace {

// "\040" and friends: a backslash and three octal digits stand for one byte.
std::string Unescaped(std::string_view field) {
  const auto octal = [](char c) { return c >= '0' && c <= '7'; };
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
      text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
      i += 3;
    } else {
      text.push_back(field[i]);
    }
  }
  return text;
}

bool Holds(std::string_view mount_point, std::string_view path) {
  if (mount_point == "/") return path.starts_with('/');
  return path == mount_point || (path.starts_with(mount_point) && path[mount_point.size()] == '/');
}

}  // namespace

std::string NormalizedPath(std::string_view path) {
  std::string text = std::filesystem::path(path).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::vector<MountEntry> ParseMountTable(std::string_view text) {
  std::vector<MountEntry> table;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mount_point, type, options;
    if (!(fields >> device >> mount_point >> type >> options)) continue;
    table.push_back({Unescaped(device), Unescaped(mount_point), Unescaped(type), Unescaped(options)});
  }
  return table;
}

const MountEntry* FindMountHolding(const std::vector<MountEntry>& table, std::string_view path) {
  const std::string wanted = NormalizedPath(path);
  const MountEntry* best = nullptr;
  std::size_t best_length = 0;
  for (const MountEntry& entry : table) {
    const std::string mount_point = NormalizedPath(entry.mount_point);
    // A later mount at the same place hides the earlier one, hence >=.
    if (Holds(mount_point, wanted) && (best == nullptr || mount_point.size() >= best_length)) {
      best = &entry;
      best_length = mount_point.size();
    }
  }
  return best;
}

std::vector<const MountEntry*> EntriesAt(const std::vector<MountEntry>& table, std::string_view mount_point) {
  const std::string wanted = NormalizedPath(mount_point);
  std::vector<const MountEntry*> entries;
  for (const MountEntry& entry : table) {
    if (NormalizedPath(entry.mount_point) == wanted) entries.push_back(&entry);
  }
  return entries;
}

}  // namespace setup
