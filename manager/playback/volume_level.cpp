#include "manager/playback/volume_level.h"

#include <algorithm>
#include <cmath>

namespace playback {

std::int32_t VolumeOfLevel(double level) {
  if (!(level > 0.0)) level = 0.0;  // NaN too
  level = std::min(level, 1.0);
  constexpr double kFloor = 1e-10;
  return static_cast<std::int32_t>(std::trunc(1000.0 * std::log10(kFloor + (1.0 - kFloor) * level)));
}

double LinearGainOfVolume(std::int32_t hundredthsOfDecibel) {
  if (hundredthsOfDecibel <= -10000) return 0.0;
  if (hundredthsOfDecibel >= 0) return 1.0;
  return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

}  // namespace playback
