#include "manager/playback/video.h"

#include "manager/playback/pipeline.h"
#include "manager/playback/transport.h"
#include "manager/playback/video_renderer.h"

namespace playback {

CVideo::CVideo() : jpegArea(kJpegAreaSize), renderer(std::make_unique<VideoRenderer>()) {}

CVideo::~CVideo() {
  // The window usually owns this object and is half destroyed by now: nothing may call it any more.
  DetachWindow(*this);
  Teardown(*this);
}

}  // namespace playback
