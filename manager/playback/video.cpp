#include "manager/playback/video.h"

#include "manager/playback/graph_bus.h"
#include "manager/playback/source_streams.h"
#include "manager/playback/transport.h"
#include "manager/playback/video_renderer.h"

namespace playback {

CVideo::CVideo() : jpegArea(kJpegAreaSize), renderer(std::make_unique<VideoRenderer>()) {}

CVideo::~CVideo() {
  // The window usually owns this object and is half destroyed by now: do not call back into it.
  videoWindow = nullptr;
  renderer->SetSurface(nullptr);
  Teardown(*this);
}

}  // namespace playback
