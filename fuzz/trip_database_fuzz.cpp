// A trip database file as the tracker opens it: whatever the header claims, decoding stays
// inside the bytes and within memory, the statistics of whatever rows it holds can be
// computed, and a file that decodes saves and loads back the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/track_document.h"
#include "tracker/log/trip_database.h"

namespace {

// The input's own magic when it is one the programs write, so both builds' files are reached.
const tracker::DatabaseMagic& MagicFor(std::span<const unsigned char> bytes) {
  const auto& older = tracker::kOlderProfile.database_magic;
  if (bytes.size() >= 16 && std::memcmp(bytes.data() + 12, older.data(), older.size()) == 0) return older;
  return tracker::kCurrentProfile.database_magic;
}

bool SameBytes(const auto& a, const auto& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  const tracker::DatabaseMagic& magic = MagicFor(bytes);
  tracker::DecodedDatabase decoded;
  if (tracker::DecodeTripDatabase(bytes, magic, decoded) != tracker::DatabaseError::kNone) return 0;

  const std::string saved = tracker::EncodeTripDatabase(decoded.rows, decoded.points, magic);
  tracker::DecodedDatabase again;
  const auto* savedBytes = reinterpret_cast<const unsigned char*>(saved.data());
  if (tracker::DecodeTripDatabase({savedBytes, saved.size()}, magic, again) != tracker::DatabaseError::kNone) {
    std::abort();
  }
  if (!SameBytes(decoded.rows, again.rows) || !SameBytes(decoded.points, again.points)) std::abort();

  tracker::TrackDocument document;
  if (tracker::LoadTripDatabase(bytes, magic, tracker::TimeZoneOffsetAt(tracker::kDefaultTimeZoneIndex), document) !=
      tracker::DatabaseError::kNone) {
    std::abort();
  }
  return 0;
}
