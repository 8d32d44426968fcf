// The snapshot's proposed name and the printed page's texts.
#include <gtest/gtest.h>

#include <cstring>

#include "manager/output/rules/page_texts.h"
#include "manager/output/rules/snapshot_name.h"
#include "manager/recording/user_data_writer.h"

namespace {

constexpr std::int32_t k101507 = 1309860907;  // 2011-07-05 10:15:07 UTC
constexpr std::int32_t k100517 = 1309860317;  // 2011-07-05 10:05:17 UTC

TEST(ProposedSnapshotName, NamesTheMinuteAndSecondWithoutLeadingZeros) {
  EXPECT_EQ(output::ProposedSnapshotName("/media/card/EVENT/drf_20110705_101507.mp4", k101507),
            "drf_20110705_101507_157.jpg");
  EXPECT_EQ(output::ProposedSnapshotName("/media/card/EVENT/drf_20110705_101507.mp4", k100517),
            "drf_20110705_101507_517.jpg");
  EXPECT_EQ(output::ProposedSnapshotName("E:\\EVENT\\drf_20110705_101507.mp4", k101507), "drf_20110705_101507_157.jpg");
  // Without a time sample, or with one that is no time, the numbers are zeros.
  EXPECT_EQ(output::ProposedSnapshotName("/c/drf_20110705_101507.mp4", std::nullopt), "drf_20110705_101507_00.jpg");
  EXPECT_EQ(output::ProposedSnapshotName("/c/drf_20110705_101507.mp4", -5), "drf_20110705_101507_00.jpg");
}

TEST(ProposedSnapshotName, TakesTheNameFromTheFileNotFromAFolder) {
  EXPECT_EQ(output::ProposedSnapshotName("/backup/drf_old/drf_20110705_101507.mp4", k101507),
            "drf_20110705_101507_157.jpg");
  EXPECT_EQ(output::ProposedSnapshotName("/c/x_drf_20110705_101507.mp4", k101507), "drf_20110705_101507_157.jpg");
  EXPECT_EQ(output::ProposedSnapshotName("/c/clip.mp4", k101507), "clip_157.jpg");
  EXPECT_EQ(output::ProposedSnapshotName("/c/drf_abc.ÄÄÄÄ", 0), "drf_abc._00.jpg") << "cut in characters, not bytes";
  EXPECT_EQ(output::ProposedSnapshotName("", 0), "_00.jpg");
}

TEST(RecordingTimeText, ShowsTheSampleAsUtcOrSaysWhyNot) {
  EXPECT_EQ(output::RecordingTimeText(k101507), "2011-07-05 10:15:07");
  EXPECT_EQ(output::RecordingTimeText(0), "1970-01-01 00:00:00");
  EXPECT_EQ(output::RecordingTimeText(std::nullopt), "0000-00-00 00:00:00");
  EXPECT_EQ(output::RecordingTimeText(-1), "TT 1899-00--1 -1:-1:-1");
}

// A record of 4 seconds: one time and GPS sample a second, two G-sensor samples a second.
recording::SensorRecord FourSecondRecord() {
  recording::UserDataContent content;
  for (int i = 0; i < 4; ++i) {
    content.times.push_back(k101507 + i);
    content.gpsSentences.push_back(recording::FormatRmcSentence(k101507 + i, 37.5, 127.0, 10.0 * i, 90));
  }
  for (int i = 0; i < 8; ++i) content.gsensor.push_back({0.5f, -0.25f, static_cast<float>(i) / 8});
  const std::string box = recording::BuildUserDataBox(content);
  recording::SensorRecord record;
  record.copy.assign(box.begin(), box.end());
  record.cursor = 0;
  EXPECT_EQ(recording::ParseUserData(record), recording::kParseOk);
  record.noData = 0;
  record.duration = 40'000'000;
  return record;
}

TEST(PageFacts, ComeFromTheSamplesAtThePosition) {
  const recording::SensorRecord record = FourSecondRecord();
  EXPECT_EQ(output::TimeSampleAt(&record, 25'000'000), k101507 + 2);
  EXPECT_FLOAT_EQ(output::GSensorSampleAt(&record, 25'000'000)->values[2], 5.0f / 8);
  EXPECT_DOUBLE_EQ(*output::GpsSpeedAt(&record, 35'000'000), 30.0);
  EXPECT_FALSE(output::TimeSampleAt(&record, 40'000'000)) << "nothing at the end";
  EXPECT_FALSE(output::TimeSampleAt(nullptr, 0));

  // A record that failed to load or parse is not read, whatever its tables say.
  recording::SensorRecord broken = record;
  broken.noData = 1;
  EXPECT_FALSE(output::TimeSampleAt(&broken, 0));
  EXPECT_FALSE(output::GSensorSampleAt(&broken, 0));
  EXPECT_FALSE(output::GpsSpeedAt(&broken, 0));
}

TEST(BuildPageTexts, PrintsTheMomentWithTheDefaultTexts) {
  output::PageFacts facts;
  facts.time = k101507;
  facts.gsensor = recording::GSensorSample{{0.5f, -0.25f, 1.0f}};
  facts.speedKnots = 10;
  facts.printedAt.tm_year = 126;
  facts.printedAt.tm_mon = 0;
  facts.printedAt.tm_mday = 2;
  facts.printedAt.tm_hour = 3;
  facts.printedAt.tm_min = 4;
  facts.printedAt.tm_sec = 5;
  const output::PageTexts texts = output::BuildPageTexts(facts, setup::kDualProfile);
  EXPECT_EQ(texts.title, "Black box image print.");
  EXPECT_EQ(texts.dateLine, "  - Date : 2011-07-05 10:15:07");
  // Stored Z, X, Y in the dual profile: the paper names them as the screen does.
  EXPECT_EQ(texts.gSensorLine, "  - G-sensor : X=-0.250 Y=1.000 Z=0.500");
  EXPECT_EQ(texts.speedLine, "  - Speed : 18.5  km/h 11.5  m/h");
  EXPECT_EQ(texts.printTime, "2026-01-02 03:04:05");

  EXPECT_EQ(output::BuildPageTexts(facts, setup::kParkProfile).gSensorLine, "  - G-sensor : X=0.500 Y=-0.250 Z=1.000");
  EXPECT_EQ(output::BuildPageTexts(facts, setup::kBrandProfile).gSensorLine, texts.gSensorLine);
}

TEST(BuildPageTexts, ZerosWithoutSamples) {
  const output::PageTexts texts = output::BuildPageTexts({}, setup::kDualProfile);
  EXPECT_EQ(texts.dateLine, "  - Date : 0000-00-00 00:00:00");
  EXPECT_EQ(texts.gSensorLine, "  - G-sensor : X=0.000 Y=0.000 Z=0.000");
  EXPECT_EQ(texts.speedLine, "  - Speed : 0.0  km/h 0.0  m/h");
}

}  // namespace
