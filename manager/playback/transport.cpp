#include "manager/playback/transport.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>

#include "manager/playback/pipeline.h"
#include "manager/playback/video_renderer.h"

namespace playback {
namespace {

constexpr double kUnitsPerSecond = 10'000'000.0;

bool HasGraph(const CVideo& video) { return video.graph != nullptr; }

void SetVolume(CVideo& video, std::int32_t hundredthsOfDecibel) {
  if (!video.graph) return;
  // Only a connected audio path has a volume element; without one there is nothing to set.
  const GstRef<GstElement> volume(gst_bin_get_by_name(GST_BIN(video.graph.get()), "volume"));
  if (!volume) return;
  g_object_set(volume.get(), "volume", LinearGainOfVolume(hundredthsOfDecibel), nullptr);
}

// Pauses a running channel first, as every seek and step does (their own seek then puts the
// picture of the new position in the sink).
void PauseIfRunning(CVideo& video) {
  // The seek that follows puts the picture of its position in the sink.
  if (video.state == EngineState::kRunning && video.graph) static_cast<void>(PausePipeline(video));
}

bool Step(CVideo& video, double seconds) {
  if (!HasGraph(video)) return false;
  PauseIfRunning(video);
  const auto current = QueryPosition(video);
  if (!current) return false;
  const double now = static_cast<double>(*current) / kUnitsPerSecond;
  if (seconds < 0 && now < 2.0) {
    SeekTo(video, 0.0);
    return true;
  }
  const auto duration = QueryDuration(video);
  if (!duration) return false;
  const double target = std::clamp(now + seconds, 0.0, static_cast<double>(*duration) / kUnitsPerSecond);
  if (!SeekPipeline(video, static_cast<std::int64_t>(std::trunc(target * kUnitsPerSecond)))) return false;
  if (video.videoWindow != nullptr) video.videoWindow->Invalidate();
  return true;
}

}  // namespace

bool AttachWindow(CVideo& video, VideoSurface* window) {
  if (window == nullptr) return false;
  video.videoRect = window->ClientRect();
  video.videoWindow = window;
  video.renderer->SetSurface(window);
  video.state = EngineState::kNoGraph;
  return true;
}

void DetachWindow(CVideo& video) {
  video.renderer->SetSurface(nullptr);
  if (video.events) video.events->SetNotifyWindow(nullptr, 0);
  video.videoWindow = nullptr;
  video.notifyWindow = nullptr;
}

void Play(CVideo& video) {
  if (!HasGraph(video)) return;
  gst_element_set_state(video.graph.get(), GST_STATE_PLAYING);
  video.state = EngineState::kRunning;
}

void Pause(CVideo& video) {
  if (!HasGraph(video)) return;
  if (!PausePipeline(video)) return;
  // A sink paused moments after it was set playing may still hold its old preroll picture and
  // take PAUSED at once, while the decoder's next pictures go on reaching it unclocked: the
  // picture on screen would run ahead of the position shown. An exact seek to where the
  // pipeline stands makes the sink preroll the picture of that very position.
  if (const auto now = QueryPosition(video)) static_cast<void>(SeekPipeline(video, *now));
}

void StopAndRewind(CVideo& video) {
  if (!HasGraph(video)) return;
  // Stopping a GStreamer pipeline (READY) would make the demuxer forget its streams: stay
  // paused at the start instead.
  gst_element_set_state(video.graph.get(), GST_STATE_PAUSED);
  static_cast<void>(SeekPipeline(video, 0));  // stopped either way; Play starts from what the sink holds
  video.state = EngineState::kStopped;
  if (video.videoWindow != nullptr) video.videoWindow->Invalidate();
}

void Teardown(CVideo& video) {
  // An open under way ends here, without its completion.
  video.build.reset();
  ++video.buildNumber;
  if (video.graph) {
    // From here on the old pipeline's threads reach nothing of this channel: no graph events,
    // no pictures. Stopping it may take a while (a demuxer deep in a file): not on this thread.
    if (video.bus) {
      video.bus->RegisterEvents(nullptr);
      video.bus->SetWake(nullptr);
    }
    video.renderer->DetachSinks();
    ReleaseInBackground(
        {std::move(video.graph), std::move(video.bus), std::move(video.source), std::move(video.windowless)});
  }
  video.bus.reset();
  video.windowless.reset();
  video.graph.reset();
  video.events.reset();
  video.source.reset();
  video.streamSize.reset();
  video.seekTarget.reset();
  video.renderer->Clear();
  if (video.videoWindow != nullptr) video.videoWindow->Invalidate();
  video.state = EngineState::kNoGraph;
}

bool SeekTo(CVideo& video, double target) {
  if (!HasGraph(video)) return false;
  PauseIfRunning(video);
  const auto duration = QueryDuration(video);
  if (!duration) return false;
  if (std::isfinite(target) && target >= 0.0 && target <= static_cast<double>(*duration)) {
    if (!SeekPipeline(video, static_cast<std::int64_t>(std::trunc(target)))) return false;
  }
  return true;
}

bool StepBack(CVideo& video) { return Step(video, -1.0); }

bool StepForward(CVideo& video) { return Step(video, 1.0); }

void SetRate(CVideo& video, double rate) {
  if (!HasGraph(video) || !(rate > 0.0) || !std::isfinite(rate) || rate == video.rate) return;
  video.rate = rate;
  // GStreamer changes the rate only through a seek: seek to where the channel is now.
  if (const auto now = QueryPosition(video)) static_cast<void>(SeekPipeline(video, *now));
}

void SetMuted(CVideo& video, int muted) { SetVolume(video, VolumeOfLevel(muted != 0 ? 0.0 : kNormalVolume)); }

void SetVolumePercent(CVideo& video, int percent) { SetVolume(video, VolumeOfLevel(percent / 100.0)); }

bool ReadPosition(const CVideo& video, std::int64_t* out) {
  const auto position = QueryPosition(video);
  if (!position) return false;
  if (out != nullptr) *out = *position;
  return true;
}

void Repaint(CVideo& video) {
  if (video.videoWindow == nullptr) return;
  const VideoFramePtr frame = video.windowless ? video.renderer->CurrentFrame() : nullptr;
  video.videoWindow->PaintFrame(frame.get(), video.destinationRect);
}

void ResizeVideo(CVideo& video) {
  if (!video.windowless) return;
  const auto size = NativeVideoSize(video);
  if (!size) return;
  video.destinationRect = LetterBox(*size, {0, 0, video.videoRect.right, video.videoRect.bottom});
}

ResultCode PumpGraphEvents(CVideo& video, GraphEventCallback* callback) {
  if (callback == nullptr) return kMissingObject;
  if (!video.events) return kNotReady;
  while (const auto event = video.events->Take()) {
    callback->OnGraphEvent(event->code, event->param1, event->param2);
    // The callback may have torn this channel down (the main window opens the next recording).
    if (!video.events) break;
  }
  return kOk;
}

std::optional<VideoSize> NativeVideoSize(const CVideo& video) {
  if (const VideoFramePtr frame = video.renderer->CurrentFrame()) return frame->Size();
  return video.streamSize;
}

VideoFramePtr CurrentFrame(const CVideo& video) { return video.renderer->CurrentFrame(); }

std::string ErrorCause(const CVideo& video) { return video.bus ? video.bus->ErrorCause() : std::string(); }

std::int32_t VolumeOfLevel(double level) {
  if (!(level > 0.0)) level = 0.0;  // NaN too
  level = std::min(level, 1.0);
  constexpr double kFloor = 1e-10;
  return static_cast<std::int32_t>(std::trunc(1000.0 * std::log10(kFloor + (1.0 - kFloor) * level)));
}

double LinearGainOfVolume(std::int32_t hundredthsOfDecibel) {
  if (hundredthsOfDecibel <= -10000) return 0.0;
  if (hundredthsOfDecibel >= 0) return 1.0;
  return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

CVideo::CVideo() : jpegArea(kJpegAreaSize), owner(&waitingOwner), renderer(std::make_unique<VideoRenderer>()) {}

CVideo::~CVideo() {
  // The window usually owns this object and is half destroyed by now: nothing may call it any more.
  DetachWindow(*this);
  Teardown(*this);
}

}  // namespace playback
