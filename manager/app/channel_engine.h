#pragma once

#include <array>

#include "manager/app/recording_opener.h"
#include "manager/playback/build_graph.h"

namespace display {
class VideoWidget;
}  // namespace display

namespace app {

// The opener's engine in the window: each channel's video window and its engine, whose opens
// finish from the bus as queued calls on the window thread.
class ChannelEngine : public OpeningEngine {
 public:
  ChannelEngine(const std::array<display::VideoWidget*, 2>& channels,
                const std::array<playback::ChannelSettings, 2>& settings)
      : channels_(channels), settings_(settings) {}

  void OpenChannel(int channel, const std::string& path, int showWindow,
                   std::function<void(const ChannelOpened&)> done) override;
  void Teardown(int channel) override;
  bool HasGraph(int channel) const override;

 private:
  const std::array<display::VideoWidget*, 2>& channels_;  // [1] is null in the one-channel builds
  const std::array<playback::ChannelSettings, 2>& settings_;
};

}  // namespace app
