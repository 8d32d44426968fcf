#include "tests/manager/playback/playback_fixtures.h"

#include <map>
#include <random>
#include <stdexcept>

#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tools/samplecard/clip_encoder.h"

namespace playback_testing {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

fs::path Encode(const fs::path& folder, const std::string& name, const samplecard::ClipOptions& options) {
  const fs::path path = folder / name;
  if (!samplecard::EncodeClip(path, options)) throw std::runtime_error("ffmpeg could not make " + name);
  return path;
}

samplecard::ClipOptions Vga() {
  samplecard::ClipOptions options;
  options.width = 640;
  options.height = 480;
  options.frameRate = 30;
  options.seconds = 2;
  return options;
}

std::string Box(std::string_view type, const std::string& payload) {
  const auto size = static_cast<std::uint32_t>(payload.size() + 8);
  std::string bytes{static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8),
                    static_cast<char>(size)};
  return bytes + std::string(type) + payload;
}

fs::path Make(Clip clip, const fs::path& folder) {
  samplecard::ClipOptions options = Vga();
  switch (clip) {
    case Clip::kVga: return Encode(folder, "vga.mp4", options);
    case Clip::kHd:
      options.width = 1280;
      options.height = 720;
      return Encode(folder, "hd.mp4", options);
    case Clip::kSilent: options.audio = false; return Encode(folder, "silent.mp4", options);
    case Clip::kAudioFirst: options.audioFirst = true; return Encode(folder, "audio-first.mp4", options);
    case Clip::kThreeSeconds:
      options.width = 320;
      options.height = 240;
      options.seconds = 3;
      options.audio = false;
      return Encode(folder, "three-seconds.mp4", options);
    case Clip::kRedThenBlue:
      options.audio = false;
      options.videoSource =
          "color=c=red:s=320x240:r=30:d=1[a];color=c=blue:s=320x240:r=30:d=1[b];[a][b]concat=n=2[out0]";
      return Encode(folder, "red-then-blue.mp4", options);
    case Clip::kCutShort: {
      options.fastStart = true;
      const std::string bytes = ReadFile(Encode(folder, "whole.mp4", options));
      const std::size_t mdat = bytes.find("mdat");
      const fs::path path = folder / "cut-short.mp4";
      WriteFile(path, bytes.substr(0, mdat + (bytes.size() - mdat) / 2));
      return path;
    }
    case Clip::kNoMovie: {
      const std::string bytes = ReadFile(Encode(folder, "camera.mp4", options));
      const fs::path path = folder / "no-movie.mp4";
      WriteFile(path, bytes.substr(0, bytes.rfind("moov") - 4));
      return path;
    }
    case Clip::kBrokenMedia: {
      options.fastStart = true;
      std::string bytes = ReadFile(Encode(folder, "intact.mp4", options));
      std::mt19937 random(7);
      for (std::size_t i = bytes.find("mdat") + 204; i < bytes.size(); ++i) bytes[i] = static_cast<char>(random());
      const fs::path path = folder / "broken-media.mp4";
      WriteFile(path, bytes);
      return path;
    }
    case Clip::kHevc: {
      const fs::path path = folder / "hevc.mp4";
      const auto run = testing_support::RunCommand(
          "ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=s=320x240:r=30:d=1 -c:v libx265 "
          "-x265-params log-level=error -tag:v hvc1 -y " +
          testing_support::ShellQuoted(path.string()));
      if (run.status != 0) throw std::runtime_error("ffmpeg could not make hevc.mp4: " + run.err);
      return path;
    }
    case Clip::kManyTracks: {
      const std::string sound =
          Box("trak", Box("mdia", Box("hdlr", std::string(8, '\0') + "soun" + std::string(13, '\0'))));
      std::string tracks;
      tracks.reserve(sound.size() * 450000);
      for (int i = 0; i < 450000; ++i) tracks += sound;
      const fs::path path = folder / "many-tracks.mp4";
      WriteFile(path, Box("ftyp", "isom") + Box("mdat", "") + Box("moov", tracks));
      return path;
    }
    case Clip::kHeaderOnly: {
      options.fastStart = true;
      const std::string bytes = ReadFile(Encode(folder, "header-first.mp4", options));
      const fs::path path = folder / "header-only.mp4";
      WriteFile(path, bytes.substr(0, bytes.find("mdat") - 4));
      return path;
    }
    case Clip::kRandomBytes: {
      std::string bytes(256 * 1024, '\0');
      std::mt19937 random(11);
      for (char& c : bytes) c = static_cast<char>(random());
      const fs::path path = folder / "random.mp4";
      WriteFile(path, bytes);
      return path;
    }
  }
  throw std::logic_error("unknown clip");
}

}  // namespace

const HostileFile kHostileFiles[4] = {
    {Clip::kHevc, "an HEVC recording", "the video is HEVC (H.265); this program plays H.264 recordings"},
    {Clip::kManyTracks, "450,000 tracks", "the file holds more than 64 tracks; a recording holds two"},
    {Clip::kHeaderOnly, "a movie header without media",
     "the file ends before its media data (the recording was cut off)"},
    {Clip::kRandomBytes, "random bytes", "the file is not an MP4 recording"},
};

const fs::path& ClipPath(Clip clip) {
  static testing_support::TempDir folder;
  static std::map<Clip, fs::path> made;
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  auto it = made.find(clip);
  if (it == made.end()) it = made.emplace(clip, Make(clip, folder.path())).first;
  return it->second;
}

void FakeSurface::PresentFrame(playback::VideoFramePtr frame) {
  std::lock_guard lock(mutex_);
  ++presented_;
  last_ = std::move(frame);
}

void FakeSurface::PaintFrame(const playback::VideoFrame* frame, const playback::VideoRect& destination) {
  paintedFrame = frame;
  paintedRect = destination;
  ++paints;
}

int FakeSurface::Presented() const {
  std::lock_guard lock(mutex_);
  return presented_;
}

playback::VideoFramePtr FakeSurface::Last() const {
  std::lock_guard lock(mutex_);
  return last_;
}

}  // namespace playback_testing
