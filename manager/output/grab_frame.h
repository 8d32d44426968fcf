#pragma once

#include "manager/playback/video.h"

namespace output {

// Copies the frame the channel shows into its frame buffer as 24-bit RGB, top row first, no
// row padding. Null when the channel has no renderer or no frame yet.
const playback::RgbImage* GrabFrame(playback::CVideo& video);

}  // namespace output
