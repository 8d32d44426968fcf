// One GPS sample of a recording's sensor record: whatever its 64 bytes hold, the decoded fix is
// either nothing, the no-fix marker, or a real place on the earth with a finite speed; only the
// last reaches the panel and the map.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "manager/recording/gps_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  recording::GpsSample sample;
  std::memcpy(sample.text.data(), data, std::min(size, sample.text.size()));
  const recording::GpsFix fix = recording::DecodeGpsSample(sample);
  if (!std::isfinite(fix.speed)) std::abort();
  if (recording::ClassifyFix(fix) == recording::FixKind::Ok) {
    if (!(std::abs(fix.latitude) <= 90.0 && std::abs(fix.longitude) <= 180.0)) std::abort();
  }
  return 0;
}
