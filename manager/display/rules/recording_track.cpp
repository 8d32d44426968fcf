#include "manager/display/rules/recording_track.h"

#include <cmath>

#include "manager/recording/gps_decode.h"
#include "manager/recording/samples.h"

namespace display {

bool IsMapPosition(double latitude, double longitude) {
  return std::isfinite(latitude) && std::isfinite(longitude) && latitude >= -90.0 && latitude <= 90.0 &&
         longitude >= -180.0 && longitude <= 180.0;
}

std::vector<LatLng> RecordingTrack(const recording::SensorRecord& record) {
  std::vector<LatLng> track;
  if (record.noData != 0) return track;
  const std::uint32_t count = recording::GpsSampleCount(record);
  track.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const recording::GpsFix fix = recording::DecodeGpsSample(recording::GpsSampleAt(record, i));
    if (recording::ClassifyFix(fix) != recording::FixKind::Ok) continue;
    if (!IsMapPosition(fix.latitude, fix.longitude)) continue;
    track.push_back({fix.latitude, fix.longitude});
  }
  return track;
}

}  // namespace display
