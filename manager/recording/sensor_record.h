#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace recording {

// Results of LoadUserData.
inline constexpr int kLoadOk = 0;
inline constexpr int kLoadCannotOpen = 2;
inline constexpr int kLoadReadFailed = 3;
inline constexpr int kLoadNoSize = 4;
inline constexpr int kLoadNoMemory = 5;
inline constexpr int kLoadNothingRead = 6;
inline constexpr int kLoadNoUserData = 7;

// Results of ParseUserData.
inline constexpr int kParseOk = 0;
inline constexpr int kParseNoCursor = 1;
inline constexpr int kParseNoTimeTable = 2;
inline constexpr int kParseNoGpsTable = 3;
inline constexpr int kParseNoSensorTable = 4;

using BoxType = std::array<char, 4>;

// The current recording's sensor record: a copy of the file from its top-level `udta` box to
// the end, and where the time, GPS and G-sensor tables lie in that copy. Tables are kept as
// offsets into `copy`, so the record stays valid when it is moved.
class SensorRecord {
 public:
  SensorRecord() = default;
  virtual ~SensorRecord() = default;
  SensorRecord(const SensorRecord&) = default;
  SensorRecord& operator=(const SensorRecord&) = default;
  SensorRecord(SensorRecord&&) = default;
  SensorRecord& operator=(SensorRecord&&) = default;

  struct Table {
    std::uint32_t size = 0;   // box size, header included, as stored
    BoxType type{};           // box type as stored
    std::size_t samples = 0;  // offset of the first sample in `copy`
  };

  // Frees the copy and forgets the tables; `noData` becomes 1. `duration` is kept.
  void Clear();

  std::int32_t noData = 1;
  std::optional<std::size_t> cursor;  // where ParseUserData starts in `copy`; set to 0 after a load
  std::int64_t duration = 0;          // 100 ns units, from the first channel's media graph

  std::uint32_t udtaSize = 0;
  BoxType udtaType{};
  Table time;
  Table gps;
  Table sens;

  std::vector<std::uint8_t> copy;
  std::uint32_t copyLength() const { return static_cast<std::uint32_t>(copy.size()); }
};

// Finds the top-level `udta` box of the file and copies it, and whatever follows it, into the
// record. Only the box headers before it and the copied bytes are read.
int LoadUserData(const std::string& path, SensorRecord& record);

// The same over the bytes of a whole file (2 cannot happen).
int LoadUserData(std::span<const std::uint8_t> file, SensorRecord& record);

// Locates the TIME (or RTCD), GPSI and SENS tables, back to back at the start of the copy.
int ParseUserData(SensorRecord& record);

// The whole opening sequence: clear, load, parse, and set `noData`. Returns true when the
// record holds usable data.
bool LoadSensorRecord(const std::string& path, SensorRecord& record);

}  // namespace recording
