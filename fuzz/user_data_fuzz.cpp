// The sensor record of a recording: the bytes from its `udta` box to the end of the file, as
// LoadUserData copies them. Parsing, counting and every lookup the panel, the graph and the
// print page make must stay inside the copy.
#include <cstdint>

#include "manager/recording/gps_decode.h"
#include "manager/recording/samples.h"
#include "manager/recording/sensor_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  recording::SensorRecord record;
  record.copy.assign(data, data + size);
  record.cursor = 0;
  if (recording::ParseUserData(record) != recording::kParseOk) return 0;
  record.noData = 0;

  // Ten seconds played at a few positions, the end and past it included.
  record.duration = 100'000'000;
  for (std::int64_t t : {std::int64_t{0}, std::int64_t{33'333'333}, std::int64_t{99'999'999}, std::int64_t{100'000'000},
                         std::int64_t{-1}}) {
    (void)recording::FindTimeSample(record, t);
    (void)recording::FindGSensorSample(record, t);
    if (const auto sample = recording::FindGpsSample(record, t)) (void)recording::DecodeGpsSample(*sample);
  }
  // Every sample that the counts promise can be read.
  const std::uint32_t times = recording::TimeSampleCount(record);
  const std::uint32_t fixes = recording::GpsSampleCount(record);
  const std::uint32_t forces = recording::GSensorSampleCount(record);
  for (std::uint32_t i = 0; i < times; ++i) (void)recording::TimeSampleAt(record, i);
  for (std::uint32_t i = 0; i < fixes; ++i) (void)recording::DecodeGpsSample(recording::GpsSampleAt(record, i));
  for (std::uint32_t i = 0; i < forces; ++i) (void)recording::GSensorSampleAt(record, i);
  return 0;
}
