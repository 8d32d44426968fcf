#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace samplecard {

struct CameraVideo {
  int width = 1280;
  int height = 720;
  int seconds = 2;
  std::time_t start = 0;   // burnt into the picture as the recording's time
  std::string_view label;  // "FRONT" or "REAR"
};

// The bytes of an H.264/AAC MP4 at 30 fps as the camera lays it out (ftyp, mdat within the
// first 4 KiB, moov right after mdat), made by ffmpeg: a moving test picture with the label and
// the recording's time burnt in, and a tone. The same arguments give the same bytes. Throws
// std::runtime_error when ffmpeg fails.
std::string EncodeCameraVideo(const CameraVideo& video);

}  // namespace samplecard
