#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "manager/timeline/camera_zone.h"

namespace timeline {

// One channel-1 recording placed on the UTC time line.
struct TimelineEntry {
  std::string path;
  std::string rear;              // its channel-2 companion, empty when the card has none
  std::string_view cause;        // "SENS", "MANUAL", "CONTINUOUS" or "UNKNOWN"
  std::int64_t start = 0;        // UTC seconds
  std::int64_t duration = 0;     // 100 ns units
  bool startFromSensor = false;  // from the first time stamp rather than the name
};

// A recording that covers a moment, and how far into it the moment lies.
struct TimelineMatch {
  const TimelineEntry* entry = nullptr;
  std::int64_t offset = 0;  // 100 ns units from the recording's start
};

// The recordings of one card ordered by start, so that the recordings of a moment are found
// without reading any file again. Build it once per card: building reads every recording's
// headers.
class CardTimeline {
 public:
  CardTimeline() = default;
  // Entries in any order; those without a duration are of no use and should not be given.
  CardTimeline(std::vector<TimelineEntry> entries, CameraZone zone);

  // The recordings the manager would list for `card`, each placed by its first time stamp, or
  // by its name read in the camera's zone (Setup.ini, else `fallbackOffsetSeconds`). Recordings
  // whose start or duration cannot be told are left out. Stubs are never deleted here. A set
  // `cancel` stops the reading between recordings (the result is then partial).
  static CardTimeline Build(const std::string& card, std::int64_t fallbackOffsetSeconds,
                            const std::atomic<bool>* cancel = nullptr);

  // The recordings with start <= moment < start + duration: event recordings first, then manual,
  // continuous and the rest, each group by start.
  std::vector<TimelineMatch> Find(std::int64_t utcSeconds) const;

  // The recording nearest to a moment no recording covers (by the distance to its span); null on
  // an empty card.
  const TimelineEntry* Nearest(std::int64_t utcSeconds) const;

  const std::vector<TimelineEntry>& entries() const { return entries_; }
  const CameraZone& zone() const { return zone_; }
  bool empty() const { return entries_.empty(); }

 private:
  std::vector<TimelineEntry> entries_;  // by start
  std::int64_t longest_ = 0;            // the longest duration, which bounds a search
  CameraZone zone_;
};

// "YYYY-MM-DD hh:mm:ss" to seconds since 1970 (in whatever zone the text is in); none when the
// text is not such a moment.
std::optional<std::int64_t> ParseMomentText(std::string_view text);
// The reverse.
std::string MomentText(std::int64_t seconds);

}  // namespace timeline
