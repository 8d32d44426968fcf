#pragma once

#include "manager/playback/video_rect.h"

namespace playback {

// The largest rectangle of the picture's aspect ratio that fits `area`, centred in it; the bands
// left over stay black. An empty picture or area gives an empty rectangle at the area's origin.
VideoRect LetterBox(VideoSize picture, const VideoRect& area);

}  // namespace playback
