#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "manager/recording/sensor_record.h"

namespace recording {

// One entry of each table, as stored (little-endian values).
using TimeSample = std::int32_t;  // seconds since 1970-01-01 00:00:00 UTC

struct GpsSample {
  std::array<char, 64> text{};  // one NMEA sentence, zero-padded, not always terminated
};

struct GSensorSample {
  std::array<float, 3> values{};  // in g, in stored order (offsets 0, 4, 8)
};

inline constexpr std::size_t kTimeSampleSize = 4;
inline constexpr std::size_t kGpsSampleSize = 64;
inline constexpr std::size_t kGSensorSampleSize = 12;

// Samples in each table: what its size promises, but never more than the copy holds.
std::uint32_t TimeSampleCount(const SensorRecord& record);
std::uint32_t GpsSampleCount(const SensorRecord& record);
std::uint32_t GSensorSampleCount(const SensorRecord& record);

// The sample at `index`; callers keep `index` below the table's count.
TimeSample TimeSampleAt(const SensorRecord& record, std::uint32_t index);
GpsSample GpsSampleAt(const SensorRecord& record, std::uint32_t index);
GSensorSample GSensorSampleAt(const SensorRecord& record, std::uint32_t index);

// The samples are spread evenly over the recording's duration: the sample for position `t`
// (100 ns units) is index floor(t / duration * count). None for a negative position, for a
// position at or past the end, and while no duration is known.
std::optional<std::uint32_t> SampleIndex(std::int64_t t, std::int64_t duration, std::uint32_t count);

std::optional<TimeSample> FindTimeSample(const SensorRecord& record, std::int64_t t);
std::optional<GpsSample> FindGpsSample(const SensorRecord& record, std::int64_t t);
std::optional<GSensorSample> FindGSensorSample(const SensorRecord& record, std::int64_t t);

}  // namespace recording
