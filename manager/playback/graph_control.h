#pragma once

#include <cstdint>
#include <optional>

#include "manager/playback/video.h"

namespace playback {

// Small steps on a channel's pipeline shared by the build and the transport. Positions in
// 100 ns units.

// Waits until a state change or flushing seek has prerolled, an error was posted, or ten
// seconds have passed. True when the pipeline settled.
bool WaitUntilSettled(CVideo& video);
// An exact, flushing seek that keeps the channel's rate and leaves the stop position alone.
bool SeekPipeline(CVideo& video, std::int64_t position);
std::optional<std::int64_t> QueryDuration(const CVideo& video);
std::optional<std::int64_t> QueryPosition(const CVideo& video);

}  // namespace playback
