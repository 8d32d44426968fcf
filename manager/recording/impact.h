#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "manager/recording/samples.h"

namespace recording {

// How hard a recording was shaken, measured the same way everywhere (the events list, the
// manager's jump to the impact, the incident summary): each G-sensor sample is compared with
// the recording's median sample, axis by axis, so gravity and the way the camera is mounted
// drop out and only a change of force remains. The measure is the length of that difference
// vector, in g.

// The recording's median sample, per axis (the lower median for an even count). Samples with a
// value that is not finite are a damaged record and are left out; none when no sample is left.
std::optional<std::array<float, 3>> MedianSample(std::span<const GSensorSample> samples);

// The length of `sample - median`; none for a sample with a value that is not finite.
std::optional<float> GChange(const GSensorSample& sample, const std::array<float, 3>& median);

struct GChangePeak {
  std::uint32_t index = 0;  // the sample, in the table
  float g = 0;              // its change, in g
};

// The largest change among samples[first, last) against `median`; the earliest sample wins a
// tie. None when the range holds no finite sample.
std::optional<GChangePeak> LargestGChange(std::span<const GSensorSample> samples, const std::array<float, 3>& median,
                                          std::uint32_t first, std::uint32_t last);

// The impact of a whole recording: the largest change against its own median.
std::optional<GChangePeak> FindImpact(std::span<const GSensorSample> samples);

// The record's G-sensor table as samples; empty without a usable record.
std::vector<GSensorSample> GSensorSamples(const SensorRecord& record);

// Where a sample's time slot begins in the recording, in 100 ns units: the inverse of
// SampleIndex, so SampleIndex(SampleStart(i)) is i again.
std::int64_t SampleStart(std::uint32_t index, std::uint32_t count, std::int64_t duration);

}  // namespace recording
