#include "tracker/log/gps_log_reader.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

#include "tracker/log/gprmc_record.h"

namespace tracker {

namespace {

// LZO1X output never shrinks below its instruction stream by much, so no stream that fits
// the output limit needs more input than this; a larger size field is not believed.
constexpr std::size_t kCompressedInputLimit = 2 * kGpsChunkOutputLimit + 4096;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t ReadLe32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Reads up to `size` bytes at `offset`; returns how many were read.
std::size_t ReadAt(std::FILE* file, std::uint64_t offset, unsigned char* out, std::size_t size) {
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return 0;
  return std::fread(out, 1, size, file);
}

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

}  // namespace

GpsLogReadResult ReadGpsLogFile(const std::filesystem::path& path, GpsLogBuffers& buffers,
                                PointStore& points, const std::atomic<bool>& cancel) {
  if (!LzoReady()) return GpsLogReadResult::kNotAGpsLog;
  // Only regular files: a FIFO or device on a card image would block or never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return GpsLogReadResult::kNotAGpsLog;
  const std::uint64_t file_size = std::filesystem::file_size(path, error);
  if (error) return GpsLogReadResult::kNotAGpsLog;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return GpsLogReadResult::kNotAGpsLog;
  if (buffers.output.size() < kGpsChunkOutputLimit) buffers.output.resize(kGpsChunkOutputLimit);

  // Skips are taken as unsigned, so the chain only ever moves forward and always ends.
  std::uint64_t position = 0;
  for (;;) {
    unsigned char header[kGpsChunkHeaderSize];
    if (position >= file_size ||
        ReadAt(file.get(), position, header, sizeof header) < sizeof header ||
        std::memcmp(header + kGpsTagOffset, "GPS", 3) != 0) {
      return GpsLogReadResult::kNotAGpsLog;
    }
    position += kGpsChunkHeaderSize + ReadLe32(header + kSkipBeforeDataOffset);
    const std::uint32_t compressed_size = ReadLe32(header + kCompressedSizeOffset);

    // Never trust the size field: read what the file holds, up to what can matter.
    const std::uint64_t available = position < file_size ? file_size - position : 0;
    const std::size_t wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>({compressed_size, available, kCompressedInputLimit}));
    if (buffers.compressed.size() < wanted) buffers.compressed.resize(wanted);
    const std::size_t got = wanted ? ReadAt(file.get(), position, buffers.compressed.data(), wanted) : 0;
    position += compressed_size;

    // A damaged or cut stream still yields the records decompressed before the damage.
    lzo_uint produced = buffers.output.size();
    if (got > 0) {
      lzo1x_decompress_safe(buffers.compressed.data(), got, buffers.output.data(), &produced,
                            nullptr);
      produced = std::min<lzo_uint>(produced, buffers.output.size());
    } else {
      produced = 0;
    }
    const char* output = reinterpret_cast<const char*>(buffers.output.data());
    for (std::size_t offset = 0; offset + kGpsRecordSize <= produced; offset += kGpsRecordSize) {
      if (cancel.load(std::memory_order_relaxed)) break;
      if (auto point = ParseGprmcRecord(std::span<const char, kGpsRecordSize>(output + offset,
                                                                              kGpsRecordSize))) {
        points.push_back(*point);
      }
    }

    position += ReadLe32(header + kSkipAfterDataOffset);
    if (position >= file_size) return GpsLogReadResult::kEndReached;
  }
}

}  // namespace tracker
