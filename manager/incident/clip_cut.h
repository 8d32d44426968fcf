#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "manager/incident/clip_plan.h"

namespace incident {

enum class CutStatus { Ok, Failed, Cancelled };

struct CutOutcome {
  CutStatus status = CutStatus::Failed;
  std::string error;              // for Failed: what went wrong, in one line
  std::vector<ClipPiece> pieces;  // what went into the clip: the first starts at its key frame
  bool sound = false;             // the clip carries the recordings' sound
};

// Fractions of the work done, 0 to 1, from the calling thread.
using Progress = std::function<void(double)>;

// The time of the last key frame at or before `position` in the recording's video (100 ns
// units, the recording's own time), read by demuxing without decoding; whether the recording
// has sound. None (and `error`) when the recording cannot be demuxed or has no H.264 video.
struct KeyFrame {
  std::int64_t time = 0;
  bool sound = false;
  std::string videoCaps;  // the H.264 stream's description, its codec data included
  std::string soundCaps;
};
std::optional<KeyFrame> KeyFrameAtOrBefore(const std::string& path, std::int64_t position,
                                           const std::atomic<bool>* cancel, std::string& error);

// Writes the pieces one after the other into the MP4 file `out`, their H.264 video and AAC sound
// copied as they are (demuxed, parsed and muxed again, never decoded). The first piece starts at
// the key frame at or before its start, since a clip cannot begin between key frames; the
// pieces after it begin at their file's start, which is a key frame. Pieces whose streams are
// described differently (another size or encoder setting) cannot share a track: that fails
// before anything is written. A cancel or a failure leaves no file.
CutOutcome CutClip(std::span<const ClipPiece> pieces, const std::string& out, const std::atomic<bool>* cancel,
                   const Progress& progress = {});

}  // namespace incident
