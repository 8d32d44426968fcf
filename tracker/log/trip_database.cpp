#include "tracker/log/trip_database.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "common/atomic_file.h"
#include "common/byte_order.h"
#include "common/file_reader.h"
#include "common/lzo_library.h"
#include "tracker/log/local_time.h"
#include "tracker/log/row_statistics.h"
#include "tracker/log/trip_list.h"

namespace tracker {

namespace {

// Header field offsets.
constexpr std::size_t kHeaderSizeField = 0;
constexpr std::size_t kVersionField = 4;
constexpr std::size_t kDataOffsetField = 8;
constexpr std::size_t kMagicField = 12;
constexpr std::size_t kRowCountField = 16;
constexpr std::size_t kFullBlocksField = 20;
constexpr std::size_t kRestField = 24;
constexpr std::size_t kRowBlockSizeField = 28;
constexpr std::size_t kPointBlockSizeField = 32;

// LZO1X turns a byte of its stream into at most 255 bytes of output (each zero byte of a long
// match's length adds 255), plus a few bytes for each instruction: 256 to 1 covers every
// stream. A header that claims more for its block is damaged.
constexpr std::uint64_t kMostExpansion = 256;

using common::PutLittleEndian32;

// The signed 32-bit field at `offset`, which the caller has checked lies inside `bytes`.
std::int32_t GetLe32(std::span<const unsigned char> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(common::ReadLittleEndian32(bytes.data() + offset));
}

// Appends `size` bytes at `data` as one LZO1X-1 stream.
void AppendCompressed(std::string& out, const void* data, std::size_t size, std::vector<lzo_align_t>& work) {
  const std::size_t start = out.size();
  out.resize(start + size + size / 16 + 64 + 3);
  lzo_uint written = 0;
  // An empty input still gives a stream: the 3-byte end marker.
  static const unsigned char kNothing = 0;
  const auto* input = size == 0 ? &kNothing : static_cast<const unsigned char*>(data);
  lzo1x_1_compress(input, size, reinterpret_cast<unsigned char*>(out.data() + start), &written, work.data());
  out.resize(start + written);
}

// Decompresses `block` into exactly `size` bytes at `out`; false unless it fills them exactly.
bool DecompressExactly(std::span<const unsigned char> block, void* out, std::size_t size) {
  if (size == 0 && block.empty()) return true;
  if (size > block.size() * kMostExpansion) return false;
  unsigned char spare = 0;
  lzo_uint produced = size;
  const int result = lzo1x_decompress_safe(block.data(), block.size(),
                                           size == 0 ? &spare : static_cast<unsigned char*>(out), &produced, nullptr);
  return result == LZO_E_OK && produced == size;
}

template <std::size_t N>
void Terminate(char (&field)[N]) {
  field[N - 1] = '\0';
}

}  // namespace

const char* Describe(DatabaseError error) {
  switch (error) {
    case DatabaseError::kNone: return "loaded";
    case DatabaseError::kCannotOpen: return "cannot open the trip database";
    case DatabaseError::kShortHeader: return "too short for a trip database";
    case DatabaseError::kWrongMagic: return "not a trip database of this program";
    case DatabaseError::kNewerVersion: return "trip database of a newer version";
    case DatabaseError::kBadHeader: return "damaged trip database header";
    case DatabaseError::kSizeMismatch: return "trip database size does not match its header";
    case DatabaseError::kDamagedRows: return "damaged row block";
    case DatabaseError::kDamagedPoints: return "damaged point block";
    case DatabaseError::kBadRow: return "a row refers to points that are not there";
    case DatabaseError::kOutOfMemory: return "out of memory";
  }
  return "unknown error";
}

std::string EncodeTripDatabase(std::span<const TripRecord> rows, const PointStore& points, const DatabaseMagic& magic) {
  common::LzoReady();
  std::vector<lzo_align_t> work((LZO1X_1_MEM_COMPRESS + sizeof(lzo_align_t) - 1) / sizeof(lzo_align_t));
  std::string out(kDatabaseHeaderSize, '\0');
  const auto point_count = static_cast<std::int64_t>(points.size());
  PutLittleEndian32(out, kHeaderSizeField, kDatabaseHeaderSize);
  PutLittleEndian32(out, kVersionField, kDatabaseVersion);
  PutLittleEndian32(out, kDataOffsetField, kDatabaseHeaderSize);
  std::memcpy(out.data() + kMagicField, magic.data(), 4);
  PutLittleEndian32(out, kRowCountField, static_cast<std::uint32_t>(rows.size()));
  PutLittleEndian32(out, kFullBlocksField, static_cast<std::uint32_t>(point_count / kPointsPerStoreBlock));
  PutLittleEndian32(out, kRestField, static_cast<std::uint32_t>(point_count % kPointsPerStoreBlock));

  AppendCompressed(out, rows.data(), rows.size_bytes(), work);
  PutLittleEndian32(out, kRowBlockSizeField, static_cast<std::uint32_t>(out.size() - kDatabaseHeaderSize));
  const std::size_t points_start = out.size();
  AppendCompressed(out, points.data(), points.size() * sizeof(TrackPoint), work);
  PutLittleEndian32(out, kPointBlockSizeField, static_cast<std::uint32_t>(out.size() - points_start));
  for (const TripRecord& row : rows) common::AppendLittleEndian32(out, static_cast<std::uint32_t>(row.first_point));
  return out;
}

bool SaveTripDatabase(const std::filesystem::path& path, std::span<const TripRecord> rows, const PointStore& points,
                      const DatabaseMagic& magic) {
  try {
    return common::WriteFileAtomically(path, EncodeTripDatabase(rows, points, magic));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

DatabaseError DecodeTripDatabase(std::span<const unsigned char> bytes, const DatabaseMagic& magic,
                                 DecodedDatabase& out) {
  if (bytes.size() < kDatabaseHeaderSize) return DatabaseError::kShortHeader;
  if (std::memcmp(bytes.data() + kMagicField, magic.data(), 4) != 0) {
    return DatabaseError::kWrongMagic;
  }
  if (GetLe32(bytes, kVersionField) > kDatabaseVersion) return DatabaseError::kNewerVersion;

  const std::int64_t data_offset = GetLe32(bytes, kDataOffsetField);
  const std::int64_t row_count = GetLe32(bytes, kRowCountField);
  const std::int64_t full_blocks = GetLe32(bytes, kFullBlocksField);
  const std::int64_t rest = GetLe32(bytes, kRestField);
  const std::int64_t row_block = GetLe32(bytes, kRowBlockSizeField);
  const std::int64_t point_block = GetLe32(bytes, kPointBlockSizeField);
  const auto file_size = static_cast<std::int64_t>(bytes.size());
  if (data_offset < static_cast<std::int64_t>(kDatabaseHeaderSize) || data_offset > file_size || row_count < 0 ||
      full_blocks < 0 || rest < 0 || row_block < 0 || point_block < 0) {
    return DatabaseError::kBadHeader;
  }
  if (data_offset + row_block + point_block + row_count * 4 != file_size) {
    return DatabaseError::kSizeMismatch;
  }
  const std::int64_t point_count = full_blocks * kPointsPerStoreBlock + rest;
  const auto row_bytes = static_cast<std::uint64_t>(row_count) * sizeof(TripRecord);
  const auto point_bytes = static_cast<std::uint64_t>(point_count) * sizeof(TrackPoint);
  if (row_bytes > static_cast<std::uint64_t>(row_block) * kMostExpansion) return DatabaseError::kDamagedRows;
  if (point_bytes > static_cast<std::uint64_t>(point_block) * kMostExpansion) return DatabaseError::kDamagedPoints;

  const auto rows_at = static_cast<std::size_t>(data_offset);
  const auto points_at = rows_at + static_cast<std::size_t>(row_block);
  const auto index_at = points_at + static_cast<std::size_t>(point_block);
  DecodedDatabase decoded;
  try {
    common::LzoReady();
    // Both blocks decompress into memory that nothing has touched yet, so a header that claims
    // far more than its stream holds costs no more than what the stream really produces.
    const auto row_stage = std::make_unique_for_overwrite<unsigned char[]>(static_cast<std::size_t>(row_bytes) + 1);
    if (!DecompressExactly(bytes.subspan(rows_at, static_cast<std::size_t>(row_block)), row_stage.get(),
                           static_cast<std::size_t>(row_bytes))) {
      return DatabaseError::kDamagedRows;
    }
    decoded.rows.resize(static_cast<std::size_t>(row_count));
    if (row_bytes > 0) std::memcpy(decoded.rows.data(), row_stage.get(), static_cast<std::size_t>(row_bytes));
    // The point store leaves new elements as allocated (see PointAllocator).
    decoded.points.resize(static_cast<std::size_t>(point_count));
    if (!DecompressExactly(bytes.subspan(points_at, static_cast<std::size_t>(point_block)), decoded.points.data(),
                           static_cast<std::size_t>(point_bytes))) {
      return DatabaseError::kDamagedPoints;
    }
  } catch (const std::bad_alloc&) {
    return DatabaseError::kOutOfMemory;
  }

  for (std::size_t i = 0; i < decoded.rows.size(); ++i) {
    TripRecord& row = decoded.rows[i];
    const std::int64_t first = GetLe32(bytes, index_at + 4 * i);
    const std::int64_t count = row.point_count;
    const bool known_kind = row.type == RowType::kDay || row.type == RowType::kDrive || row.type == RowType::kParking;
    if (!known_kind || first < 0 || count < 0 || first + count > point_count) return DatabaseError::kBadRow;
    row.first_point = static_cast<std::int32_t>(first);
    // The list carries row indices into this table, which holds only the rows that were saved.
    row.row_index = static_cast<std::int32_t>(i);
    Terminate(row.start_date);
    Terminate(row.start_time);
    Terminate(row.driver);
    Terminate(row.purpose);
    Terminate(row.comments);
  }
  out = std::move(decoded);
  return DatabaseError::kNone;
}

DatabaseError LoadTripDatabase(std::span<const unsigned char> bytes, const DatabaseMagic& magic, TimeZoneOffset zone,
                               TrackDocument& document) {
  try {
    DecodedDatabase decoded;
    if (const DatabaseError error = DecodeTripDatabase(bytes, magic, decoded); error != DatabaseError::kNone) {
      return error;
    }
    const std::atomic<bool> never_cancelled{false};
    ComputeAllRowStatistics(decoded.rows, decoded.points, OffsetSeconds(zone, false), never_cancelled);
    SumParkingIntoDays(decoded.rows);
    TripList trips;
    trips.order = ListOrder(decoded.rows);
    trips.rows = std::move(decoded.rows);
    document.points = std::move(decoded.points);
    document.trips = std::move(trips);
    return DatabaseError::kNone;
  } catch (const std::bad_alloc&) {
    return DatabaseError::kOutOfMemory;
  }
}

DatabaseError LoadTripDatabase(const std::filesystem::path& path, const DatabaseMagic& magic, TimeZoneOffset zone,
                               TrackDocument& document) {
  try {
    const std::optional<std::string> bytes = common::ReadWholeFile(path);
    if (!bytes) return DatabaseError::kCannotOpen;
    return LoadTripDatabase(common::AsBytes(*bytes), magic, zone, document);
  } catch (const std::bad_alloc&) {
    return DatabaseError::kOutOfMemory;
  }
}

}  // namespace tracker
