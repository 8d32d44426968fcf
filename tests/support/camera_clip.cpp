#include "tests/support/camera_clip.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <stdexcept>

#include "tests/support/temp_dir.h"
#include "tools/samplecard/clip_encoder.h"

namespace testing_support {
namespace {

std::filesystem::path EncodedClip(bool fastStart) {
  static TempDir cache;
  static std::map<bool, std::filesystem::path> clips;
  if (const auto it = clips.find(fastStart); it != clips.end()) return it->second;
  const std::filesystem::path clip = cache / (fastStart ? "faststart.mp4" : "clip.mp4");
  samplecard::ClipOptions options;
  options.fastStart = fastStart;
  if (!samplecard::EncodeClip(clip, options)) throw std::runtime_error("ffmpeg could not make a test clip");
  clips[fastStart] = clip;
  return clip;
}

}  // namespace

void MakeCameraClip(const std::filesystem::path& path, std::string_view userData, bool fastStart) {
  WriteFile(path, ReadFile(EncodedClip(fastStart)) + std::string(userData));
}

std::string ShellQuoted(std::string_view word) {
  std::string quoted = "'";
  for (const char c : word) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

CommandResult RunCommand(const std::string& command) {
  TempDir dir;
  const auto out = dir / "out";
  const auto err = dir / "err";
  const std::string full = command + " >" + ShellQuoted(out.string()) + " 2>" + ShellQuoted(err.string());
  const int raw = std::system(full.c_str());
  CommandResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

}  // namespace testing_support
