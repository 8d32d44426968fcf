#include "tracker/log/gps_log_reader.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "common/byte_order.h"
#include "common/file_reader.h"
#include "common/lzo_library.h"
#include "tracker/log/rmc_record.h"

namespace tracker {

namespace {

// LZO1X output never shrinks below its instruction stream by much, so no stream that fits
// the output limit needs more input than this; a larger size field is not believed.
constexpr std::size_t kCompressedInputLimit = 2 * kGpsChunkOutputLimit + 4096;
// Logs are small: read such a file whole, in one call. Anything larger (a video on the card)
// is read chunk by chunk, so a huge file costs no more memory than one chunk.
constexpr std::uint64_t kWholeFileLimit = 16 * 1024 * 1024;

using common::ReadLittleEndian32;

// The bytes of a log at any offset: from memory for a small file or a log handed over as
// bytes, read on demand from a large file.
class LogBytes {
 public:
  LogBytes(const common::FileReader& file, std::vector<unsigned char>& buffer)
      : file_(&file), size_(file.Size()), buffer_(&buffer) {
    if (size_ <= kWholeFileLimit) {
      buffer.resize(static_cast<std::size_t>(size_));
      if (file.ReadAt(0, buffer) == buffer.size()) whole_ = buffer;
    }
  }
  explicit LogBytes(std::span<const unsigned char> bytes) : size_(bytes.size()), whole_(bytes) {}

  std::uint64_t Size() const { return size_; }

  // Up to `length` bytes at `offset`; fewer at the end of the file, none past it.
  std::span<const unsigned char> At(std::uint64_t offset, std::size_t length) {
    if (offset >= size_) return {};
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
    if (whole_.size() == size_) return whole_.subspan(static_cast<std::size_t>(offset), length);
    if (buffer_->size() < length) buffer_->resize(length);
    return {buffer_->data(), file_->ReadAt(offset, std::span(buffer_->data(), length)).value_or(0)};
  }

 private:
  const common::FileReader* file_ = nullptr;
  std::uint64_t size_;
  std::vector<unsigned char>* buffer_ = nullptr;
  std::span<const unsigned char> whole_;
};

// Follows the chunk chain from the start of the log.
GpsLogReadResult ReadChunks(LogBytes& bytes, GpsLogBuffers& buffers, PointStore& points,
                            const std::atomic<bool>& cancel) {
  if (buffers.output.size() < kGpsChunkOutputLimit) buffers.output.resize(kGpsChunkOutputLimit);
  unsigned char header[kGpsChunkHeaderSize];

  // Skips are taken as unsigned, so the chain only ever moves forward and always ends.
  std::uint64_t position = 0;
  for (;;) {
    const std::span<const unsigned char> head = bytes.At(position, kGpsChunkHeaderSize);
    if (head.size() < kGpsChunkHeaderSize || std::memcmp(head.data() + kGpsTagOffset, "GPS", 3) != 0) {
      return GpsLogReadResult::kNotAGpsLog;
    }
    std::memcpy(header, head.data(), sizeof header);
    position += kGpsChunkHeaderSize + ReadLittleEndian32(header + kSkipBeforeDataOffset);
    const std::uint32_t compressed_size = ReadLittleEndian32(header + kCompressedSizeOffset);

    // Never trust the size field: use what the file holds, up to what can matter.
    const std::span<const unsigned char> compressed =
        bytes.At(position, std::min<std::size_t>(compressed_size, kCompressedInputLimit));
    position += compressed_size;

    // A damaged or cut stream still yields the records decompressed before the damage.
    lzo_uint produced = 0;
    if (!compressed.empty()) {
      produced = buffers.output.size();
      lzo1x_decompress_safe(compressed.data(), compressed.size(), buffers.output.data(), &produced, nullptr);
      produced = std::min<lzo_uint>(produced, buffers.output.size());
    }
    // Records are parsed where they lie, each straight into the next slot of the store; the
    // store grows once per chunk rather than once per fix.
    const char* output = reinterpret_cast<const char*>(buffers.output.data());
    const std::size_t records = produced / kGpsRecordSize;
    std::size_t used = points.size();
    points.resize(used + records);
    for (std::size_t r = 0; r < records; ++r) {
      if (cancel.load(std::memory_order_relaxed)) break;
      const std::span<const char, kGpsRecordSize> record(output + r * kGpsRecordSize, kGpsRecordSize);
      if (ParseRmcRecord(record, points[used])) ++used;
    }
    points.resize(used);

    position += ReadLittleEndian32(header + kSkipAfterDataOffset);
    if (position >= bytes.Size()) return GpsLogReadResult::kEndReached;
  }
}

}  // namespace

GpsLogReadResult ReadGpsLogFile(const std::filesystem::path& path, GpsLogBuffers& buffers, PointStore& points,
                                const std::atomic<bool>& cancel) {
  if (!common::LzoReady()) return GpsLogReadResult::kNotAGpsLog;
  // Only regular files: a FIFO or device on a card image would block or never end.
  const std::optional<common::FileReader> file = common::FileReader::Open(path);
  if (!file) return GpsLogReadResult::kNotAGpsLog;

  // A file that does not start like a log is not read any further.
  unsigned char header[kGpsChunkHeaderSize];
  if (file->ReadAt(0, header) != sizeof header || std::memcmp(header + kGpsTagOffset, "GPS", 3) != 0) {
    return GpsLogReadResult::kNotAGpsLog;
  }
  LogBytes bytes(*file, buffers.file);
  return ReadChunks(bytes, buffers, points, cancel);
}

GpsLogReadResult ReadGpsLog(std::span<const unsigned char> log, GpsLogBuffers& buffers, PointStore& points,
                            const std::atomic<bool>& cancel) {
  if (!common::LzoReady()) return GpsLogReadResult::kNotAGpsLog;
  LogBytes bytes(log);
  return ReadChunks(bytes, buffers, points, cancel);
}

}  // namespace tracker
