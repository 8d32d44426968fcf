#pragma once

#include <atomic>
#include <filesystem>
#include <span>
#include <vector>

#include "tracker/log/track_point.h"

namespace tracker {

// At most this much is decompressed from one chunk.
inline constexpr std::size_t kGpsChunkOutputLimit = 1048576;

// Layout of a GPS chunk header (little-endian 32-bit fields).
inline constexpr std::size_t kGpsChunkHeaderSize = 48;
inline constexpr std::size_t kGpsTagOffset = 12;
inline constexpr std::size_t kSkipBeforeDataOffset = 16;
inline constexpr std::size_t kCompressedSizeOffset = 20;
inline constexpr std::size_t kSkipAfterDataOffset = 32;

enum class GpsLogReadResult {
  kEndReached,  // the chunk chain reached the end of the file
  kNotAGpsLog,  // cannot be opened, a short header or a header without the GPS tag
};

// Buffers reused from one file to the next, so a folder scan allocates them once.
struct GpsLogBuffers {
  std::vector<unsigned char> file;  // a whole small file, or one chunk's data of a large one
  std::vector<unsigned char> output;
};

// Appends the valid fixes of one GPS log file to `points`. Points found before a damaged or
// cut chunk stay. Stops between records once `cancel` is set.
GpsLogReadResult ReadGpsLogFile(const std::filesystem::path& path, GpsLogBuffers& buffers, PointStore& points,
                                const std::atomic<bool>& cancel);

// The same over the bytes of a whole log.
GpsLogReadResult ReadGpsLog(std::span<const unsigned char> log, GpsLogBuffers& buffers, PointStore& points,
                            const std::atomic<bool>& cancel);

}  // namespace tracker
