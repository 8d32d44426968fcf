#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/still_frame.h"
#include "manager/output/encode_jpeg.h"
#include "manager/output/grab_frame.h"
#include "manager/output/write_file_bytes.h"
#include "manager/playback/transport.h"

namespace cli {

int RunFrame(std::span<const std::string> args) {
  constexpr const char* kUsage = "usage: blackbox frame FILE --at SECONDS -o OUT.jpg";
  std::string error;
  const auto parsed = ParseArguments(WithLongOutputOption(args), {}, {"at", "output"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("at") || !parsed->options.contains("output")) {
    return Fail(kExitBadArguments, kUsage);
  }
  const std::string& path = parsed->positional[0];
  const std::string at = parsed->Option("at", "");
  const auto seconds = ParseSeconds(at);
  if (!seconds) return Fail(kExitBadArguments, "--at needs a number of seconds, 0 or more");

  StillChannel channel;
  if (!channel.Open(path, 1)) return kExitUnreadable;
  if (const std::string late = channel.CheckBeforeEnd(*seconds, at, path); !late.empty()) {
    return Fail(kExitBadArguments, late);
  }
  playback::CVideo& video = channel.video;
  if (!playback::SeekTo(video, *seconds * kUnitsPerSecond)) return Fail(kExitUnreadable, path + ": cannot seek");
  const playback::RgbImage* frame = output::GrabFrame(video);
  if (frame == nullptr) return Fail(kExitUnreadable, path + ": no picture at " + at + " s");
  const std::size_t length = output::EncodeJpeg(frame->pixels, frame->width, frame->height, video.jpegArea);
  if (length == 0) return Fail(kExitUnreadable, path + ": the picture does not fit a JPEG of 2,000,000 bytes");
  const std::string out = parsed->Option("output", "");
  if (!output::WriteFileBytes(out, std::span(video.jpegArea.data(), length))) {
    return Fail(kExitUnreadable, out + ": cannot be written");
  }
  std::cout << out << ": " << frame->width << 'x' << frame->height << ", " << length << " bytes\n";
  return kExitOk;
}

}  // namespace cli
