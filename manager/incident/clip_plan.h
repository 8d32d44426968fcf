#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace incident {

// Times here are in 100 ns units, the manager's unit; a position is inside one recording.
inline constexpr std::int64_t kUnitsPerSecond = 10'000'000;

// Recordings of one channel that follow each other without a pause longer than this are one
// drive cut into files, and a clip may run on from one into the other.
inline constexpr std::int64_t kMostGapBetweenRecordings = 2 * kUnitsPerSecond;

// A recording of the card with what the plan needs to know of it.
struct CardRecording {
  std::string path;
  std::int64_t duration = 0;
};

// One stretch of one file that goes into the clip, [from, to) in the file's own time.
struct ClipPiece {
  std::string path;
  std::int64_t from = 0;
  std::int64_t to = 0;
  bool operator==(const ClipPiece&) const = default;
};

// The start of a recording as its name gives it (YYYYMMDD_HHMMSS), as seconds of a clock that
// knows no time zone; none for a name that does not carry one.
std::optional<std::time_t> NameStartTime(std::string_view path);

// The recording of `candidates` that ends where `current` begins (previous) or begins where it
// ends (next), no more than kMostGapBetweenRecordings apart, by name times and durations.
// `candidates` may hold `current` itself and recordings of any time.
std::optional<CardRecording> PreviousRecording(const CardRecording& current, std::span<const CardRecording> candidates);
std::optional<CardRecording> NextRecording(const CardRecording& current, std::span<const CardRecording> candidates);

// The pieces that make up [start, end) around a moment of `current` (start may be negative and
// end past the duration): the part of `current` inside the range, preceded by the end of
// `previous` and followed by the start of `next` where the range runs over and those exist.
// Empty when the range does not meet `current` at all.
std::vector<ClipPiece> PlanClip(const CardRecording& current, const std::optional<CardRecording>& previous,
                                const std::optional<CardRecording>& next, std::int64_t start, std::int64_t end);

}  // namespace incident
