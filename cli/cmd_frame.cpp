#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "manager/output/encode_jpeg.h"
#include "manager/output/grab_frame.h"
#include "manager/output/write_file_bytes.h"
#include "manager/playback/build_graph.h"
#include "manager/playback/transport.h"

namespace cli {
namespace {

constexpr double kUnitsPerSecond = 10'000'000.0;

// Build failures are shown as they are, one line each.
struct StderrMessages : playback::MessageBox {
  void ShowMessage(const std::string& text) override { Fail(kExitUnreadable, text); }
};

std::optional<double> ParseSeconds(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 0) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

int RunFrame(std::span<const std::string> args) {
  // -o is the one short option of the tool: read it as --output.
  std::vector<std::string> words(args.begin(), args.end());
  for (std::string& word : words) {
    if (word == "-o") word = "--output";
  }
  constexpr const char* kUsage = "usage: blackbox frame FILE --at SECONDS -o OUT.jpg";
  std::string error;
  const auto parsed = ParseArguments(words, {}, {"at", "output"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("at") || !parsed->options.contains("output")) {
    return Fail(kExitBadArguments, kUsage);
  }
  const std::string& path = parsed->positional[0];
  const auto seconds = ParseSeconds(parsed->Option("at", ""));
  if (!seconds) return Fail(kExitBadArguments, "--at needs a number of seconds, 0 or more");

  playback::CVideo video;
  video.filters.audioRenderer.clear();  // a still picture needs no sound
  StderrMessages messages;
  playback::ResultBlock result;
  playback::ChannelSettings settings;
  settings.channelNumber = 1;
  if (!playback::BuildGraph(video, &result, path, 0, settings, 0, messages)) return kExitUnreadable;

  const double target = *seconds * kUnitsPerSecond;
  // The last picture starts before the end: at the end itself nothing new is shown.
  if (target >= static_cast<double>(result.duration)) {
    char length[32];
    std::snprintf(length, sizeof length, "%.2f", result.duration / kUnitsPerSecond);
    return Fail(kExitBadArguments, "--at " + parsed->Option("at", "") + " is not before the end of " + path + " (" + length + " s)");
  }
  if (!playback::SeekTo(video, target)) return Fail(kExitUnreadable, path + ": cannot seek");
  const playback::RgbImage* frame = output::GrabFrame(video);
  if (frame == nullptr) return Fail(kExitUnreadable, path + ": no picture at " + parsed->Option("at", "") + " s");
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
