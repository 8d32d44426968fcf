#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "manager/playback/graph_event.h"
#include "manager/playback/messages.h"
#include "manager/playback/video.h"
#include "manager/playback/video_surface.h"

namespace playback {

// The channel's transport. Every operation first checks that the pipeline parts it needs exist
// and otherwise does nothing. All run on the thread that owns the channel.

// Takes the surface's client rectangle; state 0. False (and no change) without a surface.
bool AttachWindow(CVideo& video, VideoSurface* window);
// Cuts the channel off from its video window and its notify target (videoWindow and
// notifyWindow become null). Returns once a frame or a graph notice that is being handed to
// either has arrived, and nothing reaches them afterwards: a window calls this before its own
// state goes away. The pipeline keeps running, unseen; events still queue for PumpGraphEvents.
void DetachWindow(CVideo& video);
void Play(CVideo& video);
void Pause(CVideo& video);
// Pauses at position 0 (the pipeline keeps its streams, so Play starts from the beginning).
void StopAndRewind(CVideo& video);
// Releases the graph; state 0. Safe in any state.
void Teardown(CVideo& video);
// Pauses and moves to `target` (100 ns units); a target outside 0..duration is ignored and
// still counts as success.
bool SeekTo(CVideo& video, double target);
// One second back (to 0 below two seconds) or forward (to the end at most); leaves it paused.
bool StepBack(CVideo& video);
bool StepForward(CVideo& video);
// Playback speed, 1.0 normal; the position is kept.
void SetRate(CVideo& video, double rate);
// Silence, or the normal level.
void SetMuted(CVideo& video, int muted);
void SetVolumePercent(CVideo& video, int percent);
// The current position in 100 ns units into `out` (when given); false when it cannot be read.
bool ReadPosition(const CVideo& video, std::int64_t* out);
// Inside the surface's paint: black background and the last frame, letter-boxed.
void Repaint(CVideo& video);
// After videoRect changed: fit the picture into it again.
void ResizeVideo(CVideo& video);
// Hands every queued graph event to `callback`, in order, on the calling thread.
ResultCode PumpGraphEvents(CVideo& video, GraphEventCallback* callback);

// The picture's size: the decoded frames' once there are any, else the stream's.
std::optional<VideoSize> NativeVideoSize(const CVideo& video);
// The frame on screen; null before the first one.
VideoFramePtr CurrentFrame(const CVideo& video);
// Why streaming stopped, in plain words, after a GraphEventCode::kError; empty when unknown.
std::string ErrorCause(const CVideo& video);

// The volume table.

inline constexpr double kNormalVolume = 0.9;

// Volume of a linear level 0..1 in hundredths of a decibel, as the main window's table gives it:
// trunc(1000 x log10(1e-10 + (1 - 1e-10) x level)); 1.0 gives 0, 0.9 gives -45, 0 gives -10000.
// Levels outside 0..1 are clamped.
std::int32_t VolumeOfLevel(double level);

// The amplitude factor for the `volume` element that matches a volume in hundredths of a decibel;
// -10000 and below are silence.
double LinearGainOfVolume(std::int32_t hundredthsOfDecibel);

}  // namespace playback
