#include "manager/output/save_frame_as_jpeg.h"

#include "manager/output/encode_jpeg.h"
#include "manager/output/grab_frame.h"
#include "manager/output/write_file_bytes.h"
#include "manager/playback/transport.h"

namespace output {

FrameSave SaveFrameAsJpeg(playback::CVideo& video, const std::filesystem::path& path) {
  if (!video.graph || !video.windowless) return FrameSave::NothingToGrab;
  if (video.state == playback::EngineState::kRunning) playback::Pause(video);
  const playback::RgbImage* frame = GrabFrame(video);
  if (frame == nullptr) return FrameSave::NothingToGrab;
  const std::size_t length = EncodeJpeg(frame->pixels, frame->width, frame->height, video.jpegArea);
  if (length == 0) return FrameSave::TooLarge;
  if (!WriteFileBytes(path, std::span(video.jpegArea.data(), length))) return FrameSave::NotWritten;
  return FrameSave::Written;
}

}  // namespace output
