// The impact measure: the largest change of force against the recording's median sample.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "manager/recording/impact.h"
#include "manager/recording/movie_duration.h"
#include "manager/recording/user_data_writer.h"

namespace {

using recording::GSensorSample;

// A record of `count` samples at rest on a tilted mount (gravity mostly on the first stored
// axis), with road noise, and `bump` added at `at`.
std::vector<GSensorSample> RestingRecord(std::uint32_t count, std::uint32_t at, std::array<float, 3> bump) {
  std::vector<GSensorSample> samples;
  for (std::uint32_t i = 0; i < count; ++i) {
    const float noise = 0.02f * static_cast<float>(static_cast<int>(i % 5) - 2);
    GSensorSample s{{0.95f + noise, 0.05f - noise, 0.28f + noise}};
    if (i == at) {
      for (std::size_t a = 0; a < 3; ++a) s.values[a] += bump[a];
    }
    samples.push_back(s);
  }
  return samples;
}

TEST(Impact, FindsTheKnownImpact) {
  struct Case {
    std::string name;
    std::vector<GSensorSample> samples;
    std::optional<std::uint32_t> index;
    float g;  // the known change, within the noise
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<GSensorSample> damaged = RestingRecord(300, 120, {0, -1.5f, 0});
  damaged[40].values[1] = nan;  // a damaged sample is neither the impact nor part of the median
  damaged[41].values[2] = std::numeric_limits<float>::infinity();
  const std::vector<Case> cases = {
      {"a braking jolt on one axis", RestingRecord(600, 315, {0, -1.6f, 0}), 315, 1.6f},
      {"gravity on a tilted mount is no impact", RestingRecord(600, 0, {0, 0, 0}), std::nullopt, 0.07f},
      {"a bump on all three axes", RestingRecord(100, 7, {0.6f, 0.8f, 0}), 7, 1.0f},
      {"the first sample", RestingRecord(50, 0, {-1.2f, 0, 0}), 0, 1.2f},
      {"the last sample", RestingRecord(50, 49, {0, 0, 2.5f}), 49, 2.5f},
      {"damaged samples are passed over", damaged, 120, 1.5f},
      {"a single sample changes nothing", {GSensorSample{{1.0f, 0, 0}}}, 0, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto peak = recording::FindImpact(c.samples);
    ASSERT_TRUE(peak.has_value());
    if (c.index) {
      EXPECT_EQ(peak->index, *c.index);
      EXPECT_NEAR(peak->g, c.g, 0.06f);
    } else {
      EXPECT_LE(peak->g, c.g) << "noise alone stays below its own size";
    }
  }
  EXPECT_FALSE(recording::FindImpact({}).has_value());
  EXPECT_FALSE(recording::FindImpact(std::vector<GSensorSample>{{{nan, 0, 0}}}).has_value());
}

TEST(Impact, RangeAndTimeOfTheLargestChange) {
  const auto samples = RestingRecord(200, 150, {0, 0, 1.8f});
  const auto median = recording::MedianSample(samples);
  ASSERT_TRUE(median.has_value());
  EXPECT_NEAR((*median)[0], 0.95f, 0.021f);
  // A range that leaves the impact out finds only noise; one that holds it finds it.
  EXPECT_LT(recording::LargestGChange(samples, *median, 0, 150)->g, 0.1f);
  EXPECT_EQ(recording::LargestGChange(samples, *median, 140, 160)->index, 150u);
  EXPECT_EQ(recording::LargestGChange(samples, *median, 140, 100000)->index, 150u) << "the end is clamped";
  EXPECT_FALSE(recording::LargestGChange(samples, *median, 210, 300).has_value());

  // The start of a sample's slot maps back to the same sample, for counts that do not divide
  // the duration evenly.
  for (const std::uint32_t count : {1u, 7u, 600u, 601u, 3333u}) {
    for (const std::int64_t duration : {10'000'000LL, 600'000'000LL, 599'966'666LL}) {
      for (std::uint32_t i = 0; i < count; i += 1 + count / 13) {
        const std::int64_t start = recording::SampleStart(i, count, duration);
        EXPECT_EQ(recording::SampleIndex(start, duration, count), i) << count << ' ' << duration << ' ' << i;
        if (start > 0) {
          EXPECT_NE(recording::SampleIndex(start - 1, duration, count), i);
        }
      }
    }
  }
}

// A minimal movie: moov holding an mvhd of the given version, time scale and length.
std::string Movie(int version, std::uint32_t timescale, std::uint64_t length) {
  std::string body(version == 1 ? 32 : 20, '\0');
  body[0] = static_cast<char>(version);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int b = 0; b < 4; ++b) body[at + b] = static_cast<char>(v >> (24 - 8 * b));
  };
  if (version == 1) {
    put32(20, timescale);
    put32(24, static_cast<std::uint32_t>(length >> 32));
    put32(28, static_cast<std::uint32_t>(length));
  } else {
    put32(12, timescale);
    put32(16, static_cast<std::uint32_t>(length));
  }
  return recording::BuildBox("ftyp", "isom") + recording::BuildBox("mdat", std::string(100, 'x')) +
         recording::BuildBox("moov", recording::BuildBox("trak", "") + recording::BuildBox("mvhd", body));
}

TEST(MovieDuration, ReadsTheMovieHeader) {
  struct Case {
    std::string name;
    std::string bytes;
    std::optional<std::int64_t> duration;
  };
  std::string truncated = Movie(0, 1000, 60000);
  truncated.resize(truncated.size() - 6);
  std::string oversized = Movie(0, 1000, 60000);
  oversized[oversized.find("moov") - 1] = '\x7f';  // the movie box claims more than the file holds
  const std::vector<Case> cases = {
      {"version 0", Movie(0, 1000, 60000), 600'000'000},
      {"version 1", Movie(1, 90000, 5'400'000), 600'000'000},
      {"a time scale of 0", Movie(0, 0, 60000), std::nullopt},
      {"an unknown length", Movie(0, 1000, 0xffffffffu), std::nullopt},
      {"a cut-off header", truncated, std::nullopt},
      {"a movie box larger than the file", oversized, std::nullopt},
      {"no movie at all", recording::BuildBox("mdat", "xxxx"), std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(recording::ReadMovieDuration(bytes), c.duration);
  }
}

}  // namespace
