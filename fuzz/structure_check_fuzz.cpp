// A file named like a recording, as the manager opens it: the structure check walks its boxes,
// the movie header's length is read (as the incident export and blackbox events do), and the
// sensor record loader walks its top-level boxes, over the same bytes; the impact measure runs
// over the G-sensor samples found. All stay inside the file and do a bounded amount of work
// whatever the size fields say.
#include <cstdint>
#include <span>

#include "manager/recording/impact.h"
#include "manager/recording/movie_duration.h"
#include "manager/recording/sensor_record.h"
#include "manager/recording/structure_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  (void)recording::CheckRecordingStructure(file);
  (void)recording::ReadMovieDuration(file);
  recording::SensorRecord record;
  if (recording::LoadUserData(file, record) == recording::kLoadOk) {
    record.cursor = 0;
    record.noData = recording::ParseUserData(record) == recording::kParseOk ? 0 : 1;
    (void)recording::FindImpact(recording::GSensorSamples(record));
  }
  return 0;
}
