#include "tools/samplecard/clip_encoder.h"

#include <cstdlib>
#include <string>

namespace samplecard {
namespace {

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

}  // namespace

bool EncodeClip(const std::filesystem::path& path, const ClipOptions& options) {
  const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
  const std::string video = options.videoSource.empty()
                                ? "testsrc=size=" + size + ":rate=" + std::to_string(options.frameRate)
                                : options.videoSource;
  std::string inputs = " -f lavfi -i " + ShellQuoted(video);
  std::string maps;
  if (options.audio) {
    inputs += " -f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(options.audioRate);
    maps = options.audioFirst ? " -map 1:a -map 0:v" : " -map 0:v -map 1:a";
  }
  std::string x264;
  if (!options.speedPreset.empty()) x264 += " -preset " + options.speedPreset;
  if (options.constantQuality > 0) x264 += " -crf " + std::to_string(options.constantQuality);
  if (options.keyframeInterval > 0) x264 += " -g " + std::to_string(options.keyframeInterval);
  const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y" + inputs + maps + " -t " +
                              std::to_string(options.seconds) + " -c:v libx264" + x264 + " -pix_fmt yuv420p" +
                              (options.audio ? " -c:a aac -b:a 48k -shortest" : "") +
                              " -fflags +bitexact -flags:v +bitexact -flags:a +bitexact " +
                              (options.fastStart ? "-movflags +faststart " : "") + ShellQuoted(path.string());
  return std::system(command.c_str()) == 0;
}

}  // namespace samplecard
