#include "manager/recording/impact.h"

#include <algorithm>
#include <cmath>

namespace recording {
namespace {

bool IsFinite(const GSensorSample& sample) {
  return std::all_of(sample.values.begin(), sample.values.end(), [](float v) { return std::isfinite(v); });
}

}  // namespace

std::optional<std::array<float, 3>> MedianSample(std::span<const GSensorSample> samples) {
  std::array<std::vector<float>, 3> axes;
  for (const GSensorSample& sample : samples) {
    if (!IsFinite(sample)) continue;
    for (std::size_t a = 0; a < 3; ++a) axes[a].push_back(sample.values[a]);
  }
  if (axes[0].empty()) return std::nullopt;
  std::array<float, 3> median{};
  for (std::size_t a = 0; a < 3; ++a) {
    auto& values = axes[a];
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
    std::nth_element(values.begin(), middle, values.end());
    median[a] = *middle;
  }
  return median;
}

std::optional<float> GChange(const GSensorSample& sample, const std::array<float, 3>& median) {
  if (!IsFinite(sample)) return std::nullopt;
  double sum = 0;
  for (std::size_t a = 0; a < 3; ++a) {
    const double d = static_cast<double>(sample.values[a]) - static_cast<double>(median[a]);
    sum += d * d;
  }
  return static_cast<float>(std::sqrt(sum));
}

std::optional<GChangePeak> LargestGChange(std::span<const GSensorSample> samples, const std::array<float, 3>& median,
                                          std::uint32_t first, std::uint32_t last) {
  last = static_cast<std::uint32_t>(std::min<std::size_t>(last, samples.size()));
  std::optional<GChangePeak> peak;
  for (std::uint32_t i = first; i < last; ++i) {
    const auto g = GChange(samples[i], median);
    if (g && (!peak || *g > peak->g)) peak = GChangePeak{i, *g};
  }
  return peak;
}

std::optional<GChangePeak> FindImpact(std::span<const GSensorSample> samples) {
  const auto median = MedianSample(samples);
  if (!median) return std::nullopt;
  return LargestGChange(samples, *median, 0, static_cast<std::uint32_t>(samples.size()));
}

std::vector<GSensorSample> GSensorSamples(const SensorRecord& record) {
  std::vector<GSensorSample> samples;
  if (record.noData != 0) return samples;
  const std::uint32_t count = GSensorSampleCount(record);
  samples.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) samples.push_back(GSensorSampleAt(record, i));
  return samples;
}

std::int64_t SampleStart(std::uint32_t index, std::uint32_t count, std::int64_t duration) {
  if (count == 0 || duration <= 0) return 0;
  // Rounded up, so that the truncating lookup lands on this sample and not the one before.
  const long double start = static_cast<long double>(index) * static_cast<long double>(duration) / count;
  return static_cast<std::int64_t>(std::ceil(start));
}

}  // namespace recording
