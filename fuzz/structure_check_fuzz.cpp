// A file named like a recording, as the manager opens it: the structure check walks its boxes
// and the sensor record loader its top-level boxes, over the same bytes. Both stay inside the
// file and do a bounded amount of work whatever the size fields say.
#include <cstdint>
#include <span>

#include "manager/recording/sensor_record.h"
#include "manager/recording/structure_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  (void)recording::CheckRecordingStructure(file);
  recording::MVOXUDAT record;
  if (recording::LoadUserData(file, record) == recording::kLoadOk) {
    record.cursor = 0;
    (void)recording::ParseUserData(record);
  }
  return 0;
}
