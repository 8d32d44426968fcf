#include "manager/output/encode_jpeg.h"

#include <turbojpeg.h>

#include <cstring>
#include <memory>

namespace output {
namespace {

struct TurboJpegCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
struct TurboJpegFree {
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

}  // namespace

std::size_t EncodeJpeg(std::span<const std::uint8_t> pixels, int width, int height, std::span<std::uint8_t> area) {
  if (width <= 0 || height <= 0 || width > 65500 || height > 65500) return 0;
  if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) return 0;
  std::unique_ptr<void, TurboJpegCloser> encoder(tjInitCompress());
  if (!encoder) return 0;
  // TurboJPEG grows its own buffer; writing straight into the area would trust its size
  // estimate, which for 4:2:0 is larger than the area for big frames.
  unsigned char* raw = nullptr;
  unsigned long length = 0;
  const int failed =
      tjCompress2(encoder.get(), pixels.data(), width, width * 3, height, TJPF_RGB, &raw, &length, TJSAMP_420, 100, 0);
  std::unique_ptr<unsigned char, TurboJpegFree> stream(raw);
  if (failed != 0 || !stream || length == 0 || length > area.size()) return 0;
  std::memcpy(area.data(), stream.get(), length);
  return length;
}

}  // namespace output
