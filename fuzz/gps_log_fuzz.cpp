// A file in the GPS log folder: the chunk chain is followed, each chunk decompressed and its
// records parsed, whatever the headers claim.
#include <atomic>
#include <cstdint>
#include <span>

#include "tracker/log/gps_log_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tracker::GpsLogBuffers buffers;  // reused, as a folder scan reuses them
  const std::atomic<bool> cancel{false};
  tracker::PointStore points;
  tracker::ReadGpsLog(std::span<const unsigned char>(data, size), buffers, points, cancel);
  return 0;
}
