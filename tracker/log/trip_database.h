#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "tracker/log/time_zone.h"
#include "tracker/log/track_document.h"
#include "tracker/log/track_point.h"
#include "tracker/log/trip_record.h"

namespace tracker {

// Layout of a trip database file: a header, the rows and the point store as two LZO1X-1
// blocks, then each saved row's first-point index. Integers are 32-bit little-endian.
inline constexpr std::size_t kDatabaseHeaderSize = 76;
inline constexpr std::int32_t kDatabaseVersion = 100;
inline constexpr std::int64_t kPointsPerStoreBlock = 360000;

// The four bytes that tell which program a trip database belongs to; each build has its own
// and refuses the others.
using DatabaseMagic = std::array<char, 4>;

enum class DatabaseError {
  kNone,
  kCannotOpen,     // missing, unreadable or not a regular file
  kShortHeader,    // fewer than 76 bytes
  kWrongMagic,     // not this build's kind of trip database
  kNewerVersion,   // written by a newer program
  kBadHeader,      // negative counts or sizes, a data offset inside the header or past the end
  kSizeMismatch,   // the blocks do not fill the file exactly as the header says
  kDamagedRows,    // the row block does not decompress to the row count's bytes
  kDamagedPoints,  // the point block does not decompress to the point count's bytes
  kBadRow,         // a row's points lie outside the store, or its kind is unknown
  kOutOfMemory,
};

// One line saying what went wrong, for messages.
const char* Describe(DatabaseError error);

// The whole file for `rows` (in the order given, which the list shows) and every point.
std::string EncodeTripDatabase(std::span<const TripRecord> rows, const PointStore& points, const DatabaseMagic& magic);

// Writes the file so that a failed save leaves the previous one as it was. False on failure.
bool SaveTripDatabase(const std::filesystem::path& path, std::span<const TripRecord> rows, const PointStore& points,
                      const DatabaseMagic& magic);

// The rows and points of a checked file, row indices renumbered to table positions and
// first points taken from the index table. Statistics are as stored.
struct DecodedDatabase {
  RowTable rows;
  PointStore points;
};

DatabaseError DecodeTripDatabase(std::span<const unsigned char> bytes, const DatabaseMagic& magic,
                                 DecodedDatabase& out);

// Reads and checks the whole file, then replaces the document's rows and points, recomputes
// the statistics and the days' parking sums for `zone`, and orders the list. A refused file
// leaves the document as it was.
DatabaseError LoadTripDatabase(const std::filesystem::path& path, const DatabaseMagic& magic, TimeZoneOffset zone,
                               TrackDocument& document);

// The same over the bytes of a whole file.
DatabaseError LoadTripDatabase(std::span<const unsigned char> bytes, const DatabaseMagic& magic, TimeZoneOffset zone,
                               TrackDocument& document);

}  // namespace tracker
