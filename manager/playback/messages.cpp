#include "manager/playback/messages.h"

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

}  // namespace playback
