#pragma once

#include <array>
#include <optional>

#include "manager/display/rules/window_layout.h"

namespace display {

struct PictureSize {
  int width = 0;
  int height = 0;
};

// The largest whole multiple of the picture's aspect step (16 x 9 for a 720-line picture,
// otherwise 4 x 3, also when the size is not known) that fits the area, at least one step,
// centred in it.
Rect FitVideo(const Rect& area, std::optional<PictureSize> picture);

// The channel (0 front, 1 rear) the full-screen layout shows: the rear only when the channels
// are swapped and the recording has a rear file, so channel 1 never plays hidden behind a black one.
int FullScreenChannel(bool swapped, bool hasRearFile);

}  // namespace display
