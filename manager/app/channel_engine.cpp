#include "manager/app/channel_engine.h"

#include "manager/display/video_widget.h"
#include "manager/playback/transport.h"

namespace app {

void ChannelEngine::OpenChannel(int channel, const std::string& path, int showWindow,
                                std::function<void(const ChannelOpened&)> done) {
  display::VideoWidget* window = channels_[channel];
  if (window == nullptr) return;
  playback::StartBuildGraph(window->video(), {path, channel, settings_[channel], showWindow},
                            [done = std::move(done)](const playback::BuildOutcome& outcome) {
                              ChannelOpened opened;
                              opened.built = outcome.built;
                              opened.duration = outcome.result.duration;
                              opened.hasAudioRenderer = outcome.result.hasAudioRenderer;
                              opened.message = outcome.message;
                              opened.cause = outcome.cause;
                              done(opened);
                            });
}

void ChannelEngine::Teardown(int channel) {
  if (display::VideoWidget* window = channels_[channel]) playback::Teardown(window->video());
}

bool ChannelEngine::HasGraph(int channel) const {
  const display::VideoWidget* window = channels_[channel];
  return window != nullptr && window->video().state != playback::EngineState::kNoGraph;
}

}  // namespace app
