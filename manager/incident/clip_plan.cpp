#include "manager/incident/clip_plan.h"

#include <algorithm>
#include <cstdlib>

#include "common/path_text.h"

namespace incident {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

// Start and end of a recording in 100 ns units on the name clock.
struct Span {
  std::int64_t start;
  std::int64_t end;
};

std::optional<Span> SpanOf(const CardRecording& recording) {
  const auto start = NameStartTime(recording.path);
  if (!start || recording.duration <= 0) return std::nullopt;
  const std::int64_t from = std::int64_t{*start} * kUnitsPerSecond;
  return Span{from, from + recording.duration};
}

// Names give whole seconds, so a recording that follows at once may seem to start up to a
// second before the other one ends.
bool Follows(const Span& first, const Span& second) {
  const std::int64_t gap = second.start - first.end;
  return second.start > first.start && gap <= kMostGapBetweenRecordings && gap >= -kUnitsPerSecond;
}

}  // namespace

std::optional<std::time_t> NameStartTime(std::string_view path) {
  const std::string_view name = common::FileNameOf(path);
  if (name.size() < 19) return std::nullopt;
  const std::string_view date = name.substr(4, 8);
  const std::string_view time = name.substr(13, 6);
  if (!AllDigits(date) || !AllDigits(time)) return std::nullopt;
  const int year = Number(date.substr(0, 4)), month = Number(date.substr(4, 2)), day = Number(date.substr(6, 2));
  const int hour = Number(time.substr(0, 2)), minute = Number(time.substr(2, 2)), second = Number(time.substr(4, 2));
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) return std::nullopt;
  // Days from the civil date (Howard Hinnant's algorithm), so no time zone gets involved.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = std::int64_t{era} * 146097 + doe - 719468;
  return static_cast<std::time_t>(days * 86400 + hour * 3600 + minute * 60 + second);
}

namespace {

// The closest recording that ends where `current` starts (before) or starts where it ends (after).
std::optional<CardRecording> Adjacent(const CardRecording& current, std::span<const CardRecording> candidates,
                                      bool before) {
  const auto here = SpanOf(current);
  if (!here) return std::nullopt;
  std::optional<CardRecording> best;
  std::int64_t bestStart = 0;
  for (const CardRecording& candidate : candidates) {
    const auto there = SpanOf(candidate);
    if (!there || candidate.path == current.path || !(before ? Follows(*there, *here) : Follows(*here, *there))) {
      continue;
    }
    const bool closer = before ? there->start > bestStart : there->start < bestStart;
    if (!best || closer) best = candidate, bestStart = there->start;
  }
  return best;
}

}  // namespace

std::optional<CardRecording> PreviousRecording(const CardRecording& current,
                                               std::span<const CardRecording> candidates) {
  return Adjacent(current, candidates, true);
}

std::optional<CardRecording> NextRecording(const CardRecording& current, std::span<const CardRecording> candidates) {
  return Adjacent(current, candidates, false);
}

std::vector<ClipPiece> PlanClip(const CardRecording& current, const std::optional<CardRecording>& previous,
                                const std::optional<CardRecording>& next, std::int64_t start, std::int64_t end) {
  std::vector<ClipPiece> pieces;
  const std::int64_t from = std::max<std::int64_t>(start, 0);
  const std::int64_t to = std::min(end, current.duration);
  if (from >= to) return pieces;
  if (start < 0 && previous && previous->duration > 0) {
    pieces.push_back({previous->path, std::max<std::int64_t>(0, previous->duration + start), previous->duration});
  }
  pieces.push_back({current.path, from, to});
  if (end > current.duration && next && next->duration > 0) {
    pieces.push_back({next->path, 0, std::min(next->duration, end - current.duration)});
  }
  return pieces;
}

}  // namespace incident
