#pragma once

#include <filesystem>

namespace tools {

struct ClipOptions {
  int seconds = 2;
  int width = 160;
  int height = 120;
  int frameRate = 10;
  bool fastStart = false;  // moov before mdat, as some editors write it; the camera never does
};

// Encodes a test-pattern H.264/AAC MP4 with ffmpeg. Without fastStart the layout is the
// camera's: ftyp, mdat within the first 4 KiB, moov right after mdat. False when ffmpeg failed.
bool EncodeClip(const std::filesystem::path& path, const ClipOptions& options = {});

}  // namespace tools
