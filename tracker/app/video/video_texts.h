#pragma once

#include <string_view>

namespace tracker {

// The texts of "Play video", in the window's language; a language without its own text shows
// the English one.
enum class VideoText {
  kPlayVideo,
  kChooseCard,
  kChooseCardTitle,
  kNoRecording,       // %1 the moment, %2 the nearest recording's start
  kNoRecordingAtAll,  // the card holds none
  kNoCard,
  kNoPoint,
  kCannotStart,  // %1 the program
  kReading,
};

std::string_view VideoTextFor(int language_index, VideoText text);

}  // namespace tracker
