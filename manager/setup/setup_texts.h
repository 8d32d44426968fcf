#pragma once

#include "manager/language/text_keys.h"
#include "manager/setup/list_entry.h"

// The setup dialog's language keys with their built-in English texts. The profiles pick their
// key sets and lists from these.
namespace setup::texts {

// The keys the dual and brand dialogs share with the language table.
using namespace language::keys;

// Park camera only.
inline constexpr ListEntry k15Fps{"15FPS", "15fps"};
inline constexpr ListEntry k30Fps{"30FPS", "30fps"};
inline constexpr ListEntry k720P{"720P", "720P"};
inline constexpr ListEntry kVga{"VGA", "VGA"};
inline constexpr ListEntry kAccelerometerPark{"ACCELEROMETER_PARK", "Sensor sensitivity(Parking)"};
inline constexpr ListEntry kAvOut{"AVOut", "AV Out"};
inline constexpr ListEntry kNtsc{"NTSC", "NTSC"};
inline constexpr ListEntry kPal{"PAL", "PAL"};
inline constexpr ListEntry kSensorHigh{"SENSOR_HIGH", "High"};
inline constexpr ListEntry kSensorLow{"SENSOR_LOW", "Low"};

}  // namespace setup::texts
