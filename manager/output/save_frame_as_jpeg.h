#pragma once

#include <filesystem>

#include "manager/playback/video.h"

namespace output {

// Pauses a running channel, grabs its frame and writes it as JPEG to `path`. True when a frame
// was grabbed, whether or not the file could be written; false when there was nothing to grab.
bool SaveFrameAsJpeg(playback::CVideo& video, const std::filesystem::path& path);

}  // namespace output
