#include "manager/recording/sensor_record.h"

#include <new>

#include "common/byte_order.h"
#include "common/file_reader.h"
#include "common/memory_reader.h"

namespace recording {
namespace {

// The record is kept in memory for as long as the recording plays; a file whose tail after the
// `udta` box is larger than this is not a camera recording, and copying it would only exhaust
// memory.
constexpr std::uint64_t kMaxCopyLength = 256ull << 20;

using common::ReadBigEndian32;

BoxType TypeAt(const std::uint8_t* p) { return {char(p[0]), char(p[1]), char(p[2]), char(p[3])}; }

// Reads the table header at `offset` of the copy into `table`; false when it does not lie
// wholly inside the copy.
bool ReadTableHeader(const SensorRecord& record, std::uint64_t offset, SensorRecord::Table& table) {
  if (offset > record.copy.size() || record.copy.size() - offset < 8) return false;
  const std::uint8_t* p = record.copy.data() + offset;
  table.size = ReadBigEndian32(p);
  table.type = TypeAt(p + 4);
  table.samples = static_cast<std::size_t>(offset + 8);
  return true;
}

bool Is(const BoxType& type, std::string_view name) { return std::string_view(type.data(), type.size()) == name; }

}  // namespace

void SensorRecord::Clear() {
  noData = 1;
  cursor.reset();
  udtaSize = 0;
  udtaType = {};
  time = gps = sens = Table{};
  copy.clear();
  copy.shrink_to_fit();
}

namespace {

// The top-level box walk and the copy, over a file or bytes in memory.
template <typename Reader>
int LoadUserDataFrom(const Reader& file, SensorRecord& record) {
  const std::uint64_t fileSize = file.Size();
  if (fileSize == 0) return kLoadNothingRead;

  // Walk the top-level box headers. A size below 8 cannot be stepped over, and a size that
  // runs past the end of the file leaves nothing to find: both end the walk.
  std::uint64_t position = 0;
  for (;;) {
    if (fileSize - position < 8) return kLoadNoUserData;
    std::uint8_t header[8];
    const auto n = file.ReadAt(position, header);
    if (!n) return kLoadReadFailed;
    if (*n < 8) return kLoadNoUserData;
    if (Is(TypeAt(header + 4), "udta")) break;
    const std::uint32_t size = ReadBigEndian32(header);
    if (size < 8 || size > fileSize - position) return kLoadNoUserData;
    position += size;
  }

  const std::uint64_t length = fileSize - position;
  if (length > kMaxCopyLength) return kLoadNoMemory;
  std::vector<std::uint8_t> copy;
  try {
    copy.resize(static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    return kLoadNoMemory;
  }
  const auto n = file.ReadAt(position, copy);
  if (!n) return kLoadReadFailed;
  if (*n == 0) return kLoadNothingRead;
  copy.resize(*n);

  record.copy = std::move(copy);
  return kLoadOk;
}

}  // namespace

int LoadUserData(const std::string& path, SensorRecord& record) {
  // Folders, FIFOs and devices are no recordings (and a FIFO would never end).
  const std::optional<common::FileReader> file = common::FileReader::Open(path);
  if (!file) return kLoadCannotOpen;
  return LoadUserDataFrom(*file, record);
}

int LoadUserData(std::span<const std::uint8_t> file, SensorRecord& record) {
  return LoadUserDataFrom(common::MemoryReader(file), record);
}

int ParseUserData(SensorRecord& record) {
  if (!record.cursor) return kParseNoCursor;
  const std::uint64_t base = *record.cursor;
  if (base <= record.copy.size() && record.copy.size() - base >= 8) {
    record.udtaSize = ReadBigEndian32(record.copy.data() + base);
    record.udtaType = TypeAt(record.copy.data() + base + 4);
  }

  const std::uint64_t timeHeader = base + 8;
  if (!ReadTableHeader(record, timeHeader, record.time) ||
      !(Is(record.time.type, "TIME") || Is(record.time.type, "RTCD"))) {
    return kParseNoTimeTable;
  }
  // A table smaller than its own header cannot be stepped over to reach the next one.
  if (record.time.size < 8 || !ReadTableHeader(record, timeHeader + record.time.size, record.gps) ||
      !Is(record.gps.type, "GPSI")) {
    return kParseNoGpsTable;
  }
  const std::uint64_t gpsHeader = timeHeader + record.time.size;
  if (record.gps.size < 8 || !ReadTableHeader(record, gpsHeader + record.gps.size, record.sens) ||
      !Is(record.sens.type, "SENS") || record.sens.size < 8) {
    return kParseNoSensorTable;
  }
  return kParseOk;
}

bool LoadSensorRecord(const std::string& path, SensorRecord& record) {
  record.Clear();
  if (LoadUserData(path, record) != kLoadOk) return false;
  record.cursor = 0;
  if (ParseUserData(record) != kParseOk) return false;
  record.noData = 0;
  return true;
}

}  // namespace recording
