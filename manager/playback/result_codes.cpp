#include "manager/playback/result_codes.h"

#include <cstdio>

namespace playback {

std::string HexCode(ResultCode code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(code));
  return text;
}

}  // namespace playback
