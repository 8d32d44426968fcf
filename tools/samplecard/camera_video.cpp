#include "tools/samplecard/camera_video.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

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
  // -bitexact keeps version strings out of the file, so the bytes depend on the arguments only.
  const std::string command =
      "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i \"" + VideoSource(video) +
      "\" -f lavfi -i sine=frequency=440:sample_rate=22050 -t " + std::to_string(video.seconds) +
      " -c:v libx264 -preset ultrafast -crf 34 -g 30 -pix_fmt yuv420p -c:a aac -b:a 48k -shortest"
      " -fflags +bitexact -flags:v +bitexact -flags:a +bitexact '" + temp.string() + "'";
  if (std::system(command.c_str()) != 0) {
    fs::remove(temp);
    throw std::runtime_error("ffmpeg could not encode the " + std::string(video.label) + " video");
  }
  std::ifstream in(temp, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(temp);
  return bytes;
}

}  // namespace samplecard
