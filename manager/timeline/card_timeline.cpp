#include "manager/timeline/card_timeline.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "manager/library/folder_scan.h"
#include "manager/library/recording_name.h"
#include "manager/timeline/recording_times.h"

namespace timeline {
namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;

int CauseRank(std::string_view cause) {
  if (cause == "SENS") return 0;
  if (cause == "MANUAL") return 1;
  if (cause == "CONTINUOUS") return 2;
  return 3;
}

// Distance in 100 ns units from a moment to a recording's span; 0 inside it.
std::int64_t Distance(const TimelineEntry& entry, std::int64_t moment) {
  const std::int64_t start = entry.start * kUnitsPerSecond;
  if (moment < start) return start - moment;
  const std::int64_t end = start + entry.duration;
  return moment >= end ? moment - end + 1 : 0;
}

}  // namespace

CardTimeline::CardTimeline(std::vector<TimelineEntry> entries, CameraZone zone)
    : entries_(std::move(entries)), zone_(zone) {
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const TimelineEntry& a, const TimelineEntry& b) { return a.start < b.start; });
  for (const TimelineEntry& entry : entries_) longest_ = std::max(longest_, entry.duration);
}

CardTimeline CardTimeline::Build(const std::string& card, std::int64_t fallbackOffsetSeconds,
                                 const std::atomic<bool>* cancel) {
  const CameraZone zone = ReadCameraZone(card, fallbackOffsetSeconds);
  library::StubHandling keepStubs;
  keepStubs.remove = false;
  const library::SortedPathList paths = library::BuildRecordingList(card, keepStubs);

  std::vector<TimelineEntry> entries;
  entries.reserve(paths.paths().size());
  for (const std::string& path : paths.paths()) {
    if (cancel && cancel->load(std::memory_order_relaxed)) break;
    const RecordingTimes times = ReadRecordingTimes(path);
    if (!times.duration) continue;
    TimelineEntry entry;
    if (times.firstSample) {
      // The camera stamps its sensor record with its own clock, which runs on local time.
      entry.start = *times.firstSample - zone.offsetSeconds;
      entry.startFromSensor = true;
    } else if (const auto local = NameLocalSeconds(path)) {
      entry.start = *local - zone.offsetSeconds;
    } else {
      continue;
    }
    entry.duration = *times.duration;
    entry.path = path;
    entry.cause = library::RecordingCause(entry.path);
    std::string rear = library::CompanionPath(path);
    std::error_code error;
    if (std::filesystem::is_regular_file(rear, error)) entry.rear = std::move(rear);
    entries.push_back(std::move(entry));
  }
  return CardTimeline(std::move(entries), zone);
}

std::vector<TimelineMatch> CardTimeline::Find(std::int64_t utcSeconds) const {
  const std::int64_t moment = utcSeconds * kUnitsPerSecond;
  std::vector<TimelineMatch> matches;
  // Recordings starting after the moment cannot cover it; of the earlier ones only those that
  // started less than the longest duration ago can.
  auto it = std::upper_bound(entries_.begin(), entries_.end(), utcSeconds,
                             [](std::int64_t t, const TimelineEntry& e) { return t < e.start; });
  while (it != entries_.begin()) {
    --it;
    const std::int64_t start = it->start * kUnitsPerSecond;
    if (moment - start >= longest_) break;
    if (moment < start + it->duration) matches.push_back({&*it, moment - start});
  }
  std::stable_sort(matches.begin(), matches.end(), [](const TimelineMatch& a, const TimelineMatch& b) {
    const int ra = CauseRank(a.entry->cause), rb = CauseRank(b.entry->cause);
    if (ra != rb) return ra < rb;
    return a.entry->start < b.entry->start;
  });
  return matches;
}

const TimelineEntry* CardTimeline::Nearest(std::int64_t utcSeconds) const {
  if (entries_.empty()) return nullptr;
  const std::int64_t moment = utcSeconds * kUnitsPerSecond;
  // The nearest is the first one after the moment or one of those that began before it; the
  // latter are searched back as far as one of them could still end near the moment.
  auto after = std::upper_bound(entries_.begin(), entries_.end(), utcSeconds,
                                [](std::int64_t t, const TimelineEntry& e) { return t < e.start; });
  const TimelineEntry* best = after != entries_.end() ? &*after : nullptr;
  std::int64_t bestDistance = best ? Distance(*best, moment) : INT64_MAX;
  for (auto it = after; it != entries_.begin();) {
    --it;
    const std::int64_t distance = Distance(*it, moment);
    if (distance < bestDistance) {
      best = &*it;
      bestDistance = distance;
    }
    if (moment - it->start * kUnitsPerSecond >= longest_ + bestDistance) break;
  }
  return best;
}

std::optional<std::int64_t> ParseMomentText(std::string_view text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  const std::string copy(text);
  if (copy.size() != 19 || copy[4] != '-' || copy[7] != '-' || copy[10] != ' ' || copy[13] != ':' || copy[16] != ':') {
    return std::nullopt;
  }
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
    if (copy[i] < '0' || copy[i] > '9') return std::nullopt;
  }
  if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &tail) !=
      6) {
    return std::nullopt;
  }
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  using namespace std::chrono;
  const year_month_day ymd{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                           std::chrono::day(static_cast<unsigned>(day))};
  if (!ymd.ok()) return std::nullopt;
  return std::int64_t{sys_days(ymd).time_since_epoch().count()} * 86400 + hour * 3600 + minute * 60 + second;
}

std::string MomentText(std::int64_t seconds) {
  using namespace std::chrono;
  const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const std::int64_t rest = seconds - days * 86400;
  const year_month_day ymd{sys_days(std::chrono::days(days))};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), static_cast<int>(rest / 3600),
                static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
  return text;
}

}  // namespace timeline
