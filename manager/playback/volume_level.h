#pragma once

#include <cstdint>

namespace playback {

inline constexpr double kNormalVolume = 0.9;

// Volume of a linear level 0..1 in hundredths of a decibel, as the main window's table gives it:
// trunc(1000 x log10(1e-10 + (1 - 1e-10) x level)); 1.0 gives 0, 0.9 gives -45, 0 gives -10000.
// Levels outside 0..1 are clamped.
std::int32_t VolumeOfLevel(double level);

// The amplitude factor for the `volume` element that matches a volume in hundredths of a decibel;
// -10000 and below are silence.
double LinearGainOfVolume(std::int32_t hundredthsOfDecibel);

}  // namespace playback
