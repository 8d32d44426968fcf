#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "manager/playback/build_graph.h"
#include "manager/playback/messages.h"
#include "manager/playback/video.h"

namespace cli {

inline constexpr double kUnitsPerSecond = 10'000'000.0;

// -o is the one short option of the tool: read it as --output.
std::vector<std::string> WithLongOutputOption(std::span<const std::string> args);

// A number of seconds, 0 or more; none for anything else.
std::optional<double> ParseSeconds(const std::string& text);

// Build failures are shown as they are, one line each on stderr.
struct StderrMessages : playback::MessageBox {
  void ShowMessage(const std::string& text) override;
  // One line: the message, then its cause.
  void ShowFailure(const std::string& text, const std::string& cause) override;
};

// One channel opened for still pictures: its graph without sound, paused at the start.
struct StillChannel {
  playback::CVideo video;
  playback::ResultBlock result;

  // False (after one line on stderr) when the recording cannot be played.
  bool Open(const std::string& path, int channelNumber);
  // The error text when `seconds` is not before the end, where no picture starts; empty when it is.
  std::string CheckBeforeEnd(double seconds, const std::string& secondsText, const std::string& path) const;
};

}  // namespace cli
