#pragma once

// The check every recording passes before a player (GStreamer's MP4 demuxer) may open it, and
// the plain sentences that tell a user why a recording cannot be played.
//
// The demuxer trusts a file's boxes: half a million tracks or a movie header that points past the
// end of the file keep it busy for minutes. CheckBeforeOpening reads only box headers and the
// video track's sample description, with a cap on the boxes and tracks it looks at, so it
// answers in milliseconds whatever the file holds. Anything that would open a recording in a
// player (the manager, `blackbox frame/print/play`, an export) asks it first.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace recording {

enum class OpenVerdict {
  kPlayable,       // an MP4 file with an H.264 video track whose first sample lies in the file
  kCannotOpen,     // missing, unreadable, or no regular file
  kNotMp4,         // the first box is no MP4 box
  kCutOff,         // no movie header, a box that runs past the end, or media data beyond the end
  kTooManyTracks,  // more tracks than kOpenCheckMostTracks
  kTooManyBoxes,   // more boxes at one level than kOpenCheckMostBoxes
  kNoVideoTrack,   // the movie has no video track, or its video track has no samples
  kHevc,           // the video is H.265
  kAv1,
  kH263,
  kMpeg4Visual,  // MPEG-4 Visual (DivX, Xvid)
  kOtherVideoFormat,
};

// A camera writes two tracks and a handful of boxes a level.
inline constexpr int kOpenCheckMostTracks = 64;
inline constexpr int kOpenCheckMostBoxes = 1024;

struct OpenCheck {
  OpenVerdict verdict = OpenVerdict::kCannotOpen;
  std::string videoFormat;  // the video sample entry's four characters, when one was found
  int tracks = 0;           // tracks seen (up to the cap)
};

[[nodiscard]] OpenCheck CheckBeforeOpening(const std::string& path);
// The same check over the bytes of a whole file.
[[nodiscard]] OpenCheck CheckBeforeOpening(std::span<const std::uint8_t> file);

// Why a recording cannot be played, as one plain sentence (no capital, no full stop) a user
// reads under the program's own message: "the file is not an MP4 recording". Empty for
// kPlayable. `videoFormat` names an unknown format.
[[nodiscard]] std::string CauseOf(OpenVerdict verdict, std::string_view videoFormat = {});

// The sentence for a machine without any sound output.
inline constexpr std::string_view kNoAudioDeviceCause = "no audio output device";

// The Debian package that brings a GStreamer element of the player's pipelines, or empty when
// the element is not one of them.
[[nodiscard]] std::string_view DebianPackageOfElement(std::string_view factory);
// "the GStreamer element avdec_h264 is missing (install the Debian package gstreamer1.0-libav)".
[[nodiscard]] std::string MissingElementCause(std::string_view factory);

}  // namespace recording
