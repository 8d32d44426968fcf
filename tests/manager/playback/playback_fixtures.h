#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "manager/playback/graph_event.h"
#include "manager/playback/messages.h"
#include "manager/playback/video_surface.h"

namespace playback_testing {

enum class Clip {
  kVga,           // 640x480, 30 fps, 2 s, H.264 + AAC
  kHd,            // 1280x720, 30 fps, 2 s, H.264 + AAC
  kSilent,        // 640x480, 30 fps, 2 s, no audio stream (microphone off)
  kAudioFirst,    // like kVga, with the audio track first
  kThreeSeconds,  // 320x240, 30 fps, 3 s, no audio
  kRedThenBlue,   // 320x240, 30 fps: red for 1 s, then blue for 1 s, no audio
  kCutShort,      // kVga written moov first, cut in the middle of mdat
  kNoMovie,       // kVga as the camera writes it, without its moov box (power cut)
  kBrokenMedia,   // kVga written moov first, every sample after the first 200 bytes scrambled
  // Files no player may open, each refused before GStreamer sees it:
  kHevc,         // 320x240 H.265, 1 s
  kManyTracks,   // a movie header with 450,000 sound tracks before its video track
  kHeaderOnly,   // kVga written moov first, cut right after the movie header (no media)
  kRandomBytes,  // 256 KiB of random bytes
};

// The hostile files above, with the words the refusal must use.
struct HostileFile {
  Clip clip;
  const char* what;
  const char* cause;
};
extern const HostileFile kHostileFiles[4];

// The clip's path, made with ffmpeg once per test process.
const std::filesystem::path& ClipPath(Clip clip);

// A video window that keeps what the engine hands it.
class FakeSurface : public playback::VideoSurface {
 public:
  playback::VideoRect rect{0, 0, 640, 480};
  playback::VideoRect ClientRect() const override { return rect; }
  void PresentFrame(playback::VideoFramePtr frame) override;
  void PaintFrame(const playback::VideoFrame* frame, const playback::VideoRect& destination) override;
  void Invalidate() override { ++invalidations; }
  void ShowAndUpdate() override { ++shows; }

  int Presented() const;
  playback::VideoFramePtr Last() const;

  std::atomic<int> invalidations{0};
  std::atomic<int> shows{0};
  const playback::VideoFrame* paintedFrame = nullptr;
  playback::VideoRect paintedRect;
  int paints = 0;

 private:
  mutable std::mutex mutex_;
  int presented_ = 0;
  playback::VideoFramePtr last_;
};

struct RecordedMessages : playback::MessageBox {
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

}  // namespace playback_testing
