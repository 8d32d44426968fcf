#include <cmath>
#include <cstring>

#include "common/byte_order.h"
#include "manager/recording/samples.h"

namespace recording {
namespace {

using common::ReadLittleEndian32;
using common::ReadLittleEndianFloat;

std::uint32_t CountOf(const SensorRecord& record, const SensorRecord::Table& table, std::size_t sampleSize) {
  if (table.size < 8 || table.samples > record.copy.size()) return 0;
  const std::size_t promised = (table.size - 8) / sampleSize;
  const std::size_t held = (record.copy.size() - table.samples) / sampleSize;
  return static_cast<std::uint32_t>(std::min(promised, held));
}

const std::uint8_t* SampleAt(const SensorRecord& record, const SensorRecord::Table& table, std::size_t sampleSize,
                             std::uint32_t index) {
  return record.copy.data() + table.samples + std::size_t{index} * sampleSize;
}

}  // namespace

std::uint32_t TimeSampleCount(const SensorRecord& record) { return CountOf(record, record.time, kTimeSampleSize); }
std::uint32_t GpsSampleCount(const SensorRecord& record) { return CountOf(record, record.gps, kGpsSampleSize); }
std::uint32_t GSensorSampleCount(const SensorRecord& record) {
  return CountOf(record, record.sens, kGSensorSampleSize);
}

TimeSample TimeSampleAt(const SensorRecord& record, std::uint32_t index) {
  return static_cast<TimeSample>(ReadLittleEndian32(SampleAt(record, record.time, kTimeSampleSize, index)));
}

GpsSample GpsSampleAt(const SensorRecord& record, std::uint32_t index) {
  GpsSample sample;
  std::memcpy(sample.text.data(), SampleAt(record, record.gps, kGpsSampleSize, index), kGpsSampleSize);
  return sample;
}

GSensorSample GSensorSampleAt(const SensorRecord& record, std::uint32_t index) {
  const std::uint8_t* p = SampleAt(record, record.sens, kGSensorSampleSize, index);
  return GSensorSample{{ReadLittleEndianFloat(p), ReadLittleEndianFloat(p + 4), ReadLittleEndianFloat(p + 8)}};
}

std::optional<std::uint32_t> SampleIndex(std::int64_t t, std::int64_t duration, std::uint32_t count) {
  if (t < 0 || duration <= 0) return std::nullopt;
  // Compare in floating point before converting: a position far past the end must not be
  // squeezed into 32 bits.
  const double index = std::trunc(static_cast<double>(t) / static_cast<double>(duration) * count);
  if (!(index < static_cast<double>(count))) return std::nullopt;
  return static_cast<std::uint32_t>(index);
}

std::optional<TimeSample> FindTimeSample(const SensorRecord& record, std::int64_t t) {
  const auto index = SampleIndex(t, record.duration, TimeSampleCount(record));
  if (!index) return std::nullopt;
  return TimeSampleAt(record, *index);
}

std::optional<GpsSample> FindGpsSample(const SensorRecord& record, std::int64_t t) {
  const auto index = SampleIndex(t, record.duration, GpsSampleCount(record));
  if (!index) return std::nullopt;
  return GpsSampleAt(record, *index);
}

std::optional<GSensorSample> FindGSensorSample(const SensorRecord& record, std::int64_t t) {
  const auto index = SampleIndex(t, record.duration, GSensorSampleCount(record));
  if (!index) return std::nullopt;
  return GSensorSampleAt(record, *index);
}

}  // namespace recording
