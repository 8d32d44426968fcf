#pragma once

#include <filesystem>
#include <string>

namespace samplecard {

struct ClipOptions {
  int seconds = 2;
  int width = 160;
  int height = 120;
  int frameRate = 10;
  bool fastStart = false;   // moov before mdat, as some editors write it; the camera never does
  bool audio = true;        // false: video only, as the camera writes with its microphone off
  bool audioFirst = false;  // put the audio track before the video track
  // A whole lavfi input for the picture (it must give width x height at frameRate); empty means
  // ffmpeg's testsrc pattern.
  std::string videoSource;
  int audioRate = 16000;
  // x264 settings; empty or 0 keep ffmpeg's defaults.
  std::string speedPreset;
  int constantQuality = 0;   // -crf
  int keyframeInterval = 0;  // -g
};

// Encodes a test-pattern H.264/AAC MP4 with ffmpeg. Without fastStart the layout is the
// camera's: ftyp, mdat within the first 4 KiB, moov right after mdat. The same options give
// the same bytes (no version strings or dates in the file). False when ffmpeg failed.
bool EncodeClip(const std::filesystem::path& path, const ClipOptions& options = {});

}  // namespace samplecard
