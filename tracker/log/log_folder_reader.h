#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "tracker/log/scan_host.h"
#include "tracker/log/track_point.h"

namespace tracker {

struct LogFile {
  std::filesystem::path path;
  std::uint64_t size = 0;
};

// The regular files of a folder, sorted by name so the result never depends on the file
// system's listing order. False when the folder cannot be listed.
bool ListLogFiles(const std::filesystem::path& folder, std::vector<LogFile>& files);

// Appends the fixes of every file to `points` in the order of `files`, as reading them one by
// one would, but reads and parses on `threads` threads (0: one per core). Progress goes to
// `host`, from this thread only. False when cancelled.
bool ReadLogFiles(std::span<const LogFile> files, PointStore& points, ScanHost& host, unsigned threads = 0);

}  // namespace tracker
