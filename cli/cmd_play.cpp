#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/still_frame.h"
#include "manager/playback/build_graph.h"
#include "manager/playback/graph_event.h"
#include "manager/playback/transport.h"

namespace cli {
namespace {

// Prints each graph event as it is pumped on the main thread.
struct EventPrinter : playback::GraphEventCallback {
  bool complete = false;
  bool aborted = false;
  void OnGraphEvent(playback::GraphEventCode code, std::intptr_t param1, std::intptr_t param2) override {
    using playback::GraphEventCode;
    // The event names `blackbox play` has always printed.
    const char* name = code == GraphEventCode::kEndOfStream ? "EC_COMPLETE"
                       : code == GraphEventCode::kError     ? "EC_ERRORABORT"
                                                            : "";
    char params[64];
    std::snprintf(params, sizeof params, "0x%08llx 0x%08llx", static_cast<unsigned long long>(param1),
                  static_cast<unsigned long long>(param2));
    std::cout << "event " << static_cast<int>(code) << ' ' << name << ' ' << params << '\n' << std::flush;
    complete = complete || code == GraphEventCode::kEndOfStream;
    aborted = aborted || code == GraphEventCode::kError;
  }
};

std::optional<double> ParseNumber(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

int RunPlay(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"rate", "seek"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1)
    return Fail(kExitBadArguments, "usage: blackbox play FILE [--rate R] [--seek SECONDS]");
  const std::string& path = parsed->positional[0];
  const auto rate = ParseNumber(parsed->Option("rate", "1"));
  if (!rate || *rate < 0.25 || *rate > 4.0) return Fail(kExitBadArguments, "--rate must be between 0.25 and 4");
  const auto seek = ParseNumber(parsed->Option("seek", "0"));
  if (!seek || *seek < 0) return Fail(kExitBadArguments, "--seek needs a number of seconds, 0 or more");

  playback::CVideo video;
  video.filters.audioRenderer.clear();  // headless: the clock runs without a sound card
  playback::GraphNotifyWaiter waiter;
  video.notifyWindow = &waiter;
  video.notifyMessage = playback::kGraphNotifyMessage;
  StderrMessages messages;
  playback::ResultBlock result;
  playback::ChannelSettings settings;
  settings.channelNumber = 1;
  settings.eventsOn = 1;
  if (!playback::BuildGraph(video, &result, path, 0, settings, 0, messages)) return kExitUnreadable;

  const double start = *seek * kUnitsPerSecond;
  if (start > static_cast<double>(result.duration)) {
    return Fail(kExitBadArguments, "--seek " + parsed->Option("seek", "") + " is past the end of " + path);
  }
  playback::SetRate(video, *rate);
  playback::SeekTo(video, start);
  playback::Play(video);

  // However slow the machine, a recording that has not ended well after its playing time is stuck.
  const auto playing = std::chrono::duration<double>((result.duration - start) / kUnitsPerSecond / *rate);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10) +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(playing);
  EventPrinter printer;
  while (!printer.complete && !printer.aborted) {
    playback::PumpGraphEvents(video, &printer);
    if (printer.complete || printer.aborted) break;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return Fail(kExitUnreadable, path + ": playback stalled before the end");
    waiter.Wait(left);
  }
  std::int64_t position = 0;
  playback::ReadPosition(video, &position);
  std::cout << "position " << position << '\n' << "duration " << result.duration << '\n';
  if (printer.aborted) {
    const std::string cause = playback::ErrorCause(video);
    return Fail(kExitUnreadable, path + ": playback stopped on an error" + (cause.empty() ? "" : ": " + cause));
  }
  return kExitOk;
}

}  // namespace cli
