#include "manager/playback/messages.h"

#include "manager/recording/open_check.h"

#include <cstdio>

namespace playback {

std::string HexCode(ResultCode code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(code));
  return text;
}

std::string MessageWithCode(std::string_view text, ResultCode code) {
  std::string message(text);
  message += HexCode(code);
  return message;
}

std::string MessageWithPath(std::string_view text, const std::string& path) {
  std::string message(text);
  if (const std::size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, path);
  return message;
}

std::string CauseOfStreamingError(StreamingError error, std::string_view element) {
  switch (error) {
    case StreamingError::kOther: return {};
    case StreamingError::kNoAudioOutput: return std::string(recording::kNoAudioDeviceCause);
    case StreamingError::kMissingPlugin:
      if (!element.empty() && !recording::DebianPackageOfElement(element).empty()) {
        return recording::MissingElementCause(element);
      }
      return "a GStreamer plugin the recording needs is missing";
    case StreamingError::kDamagedMedia: return "the recording's media data is damaged";
    case StreamingError::kUnreadableFile: return "the file cannot be read any more (was the card removed?)";
  }
  return {};
}

}  // namespace playback
