#pragma once

#include <array>
#include <string>

namespace tracker {

// The playback speed box: points per step, shown as "  x%3d".
inline constexpr std::array<int, 5> kReplaySteps = {1, 2, 3, 5, 10};

std::string SpeedEntryText(int step);

}  // namespace tracker
