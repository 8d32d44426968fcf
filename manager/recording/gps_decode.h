#pragma once

#include "manager/recording/samples.h"

namespace recording {

// A decoded GPS sample: decimal degrees (south and west negative) and knots. All zero when the
// sample holds no usable sentence (none, another kind, or one whose checksum is wrong); -9.0 in
// latitude and longitude when the sentence says the fix is not valid.
struct GpsFix {
  double latitude = 0;
  double longitude = 0;
  double speed = 0;
};

inline constexpr double kNoFixMarker = -9.0;

GpsFix DecodeGpsSample(const GpsSample& sample);

// What a decoded fix means to a reader: a position, the no-fix marker, or nothing usable
// (readers treat a latitude or longitude of exactly 0 as no position).
enum class FixKind { Ok, NoFix, None };
FixKind ClassifyFix(const GpsFix& fix);

}  // namespace recording
