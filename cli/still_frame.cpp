#include "cli/still_frame.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "cli/arguments.h"
#include "manager/playback/build_graph.h"

namespace cli {

std::vector<std::string> WithLongOutputOption(std::span<const std::string> args) {
  std::vector<std::string> words(args.begin(), args.end());
  for (std::string& word : words) {
    if (word == "-o") word = "--output";
  }
  return words;
}

std::optional<double> ParseSeconds(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 0) {
    return std::nullopt;
  }
  return value;
}

void StderrMessages::ShowMessage(const std::string& text) { Fail(kExitUnreadable, text); }

void StderrMessages::ShowFailure(const std::string& text, const std::string& cause) {
  Fail(kExitUnreadable, cause.empty() ? text : text + ": " + cause);
}

bool StillChannel::Open(const std::string& path, int channelNumber) {
  video.filters.audioRenderer.clear();  // a still picture needs no sound
  StderrMessages messages;
  playback::ChannelSettings settings;
  settings.channelNumber = channelNumber;
  return playback::BuildGraph(video, &result, path, channelNumber - 1, settings, 0, messages);
}

std::string StillChannel::CheckBeforeEnd(double seconds, const std::string& secondsText,
                                         const std::string& path) const {
  if (seconds * kUnitsPerSecond < static_cast<double>(result.duration)) return {};
  char length[32];
  std::snprintf(length, sizeof length, "%.2f", result.duration / kUnitsPerSecond);
  return "--at " + secondsText + " is not before the end of " + path + " (" + length + " s)";
}

}  // namespace cli
