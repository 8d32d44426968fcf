#pragma once

#include <filesystem>

#include "manager/playback/video.h"

namespace output {

enum class FrameSave {
  NothingToGrab,  // no graph, or no picture yet
  Written,
  TooLarge,    // the JPEG stream does not fit the channel's 2,000,000-byte area
  NotWritten,  // the file could not be written (full card, read-only folder)
};

// Pauses a running channel, grabs its frame and writes it as JPEG to `path`. Anything but
// NothingToGrab means a frame was grabbed, whether or not the file could be written.
FrameSave SaveFrameAsJpeg(playback::CVideo& video, const std::filesystem::path& path);

}  // namespace output
