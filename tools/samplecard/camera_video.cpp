#include "tools/samplecard/camera_video.h"

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "common/file_reader.h"
#include "tools/samplecard/clip_encoder.h"

namespace samplecard {
namespace {

namespace fs = std::filesystem;

// Debian's fonts-dejavu-core. Without it the picture carries no text, but stays the same for
// the same arguments.
constexpr const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

std::string VideoSource(const CameraVideo& video) {
  std::string source = "testsrc2=size=" + std::to_string(video.width) + "x" + std::to_string(video.height) + ":rate=30";
  if (fs::exists(kFont)) {
    const int size = video.height / 14;
    const std::string text = "fontfile=" + std::string(kFont) + ":fontsize=" + std::to_string(size) +
                             ":fontcolor=white:box=1:boxcolor=black@0.6";
    source += ",drawtext=" + text + ":x=20:y=20:text='" + std::string(video.label) + "'";
    source += ",drawtext=" + text + ":x=20:y=h-th-20:text='%{pts\\:gmtime\\:" + std::to_string(video.start) + "}'";
  }
  return source;
}

}  // namespace

std::string EncodeCameraVideo(const CameraVideo& video) {
  const fs::path temp = fs::temp_directory_path() / ("samplecard-" + std::to_string(::getpid()) + ".mp4");
  ClipOptions options;
  options.seconds = video.seconds;
  options.width = video.width;
  options.height = video.height;
  options.frameRate = 30;
  options.videoSource = VideoSource(video);
  options.audioRate = 22050;
  options.speedPreset = "ultrafast";  // a demo card in seconds, not minutes
  options.constantQuality = 34;
  options.keyframeInterval = 30;  // a key frame a second, as cameras write for seeking
  if (!EncodeClip(temp, options)) {
    fs::remove(temp);
    throw std::runtime_error("ffmpeg could not encode the " + std::string(video.label) + " video");
  }
  std::optional<std::string> bytes = common::ReadWholeFile(temp);
  fs::remove(temp);
  if (!bytes) throw std::runtime_error("cannot read the " + std::string(video.label) + " video back");
  return std::move(*bytes);
}

}  // namespace samplecard
