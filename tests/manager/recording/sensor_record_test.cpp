#include "manager/recording/sensor_record.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "manager/recording/gps_decode.h"
#include "manager/recording/samples.h"
#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace recording;
using testing_support::TempDir;
using testing_support::WriteFile;

constexpr std::int64_t kSecond = 10'000'000;

UserDataContent Minute() {
  UserDataContent content;
  for (int i = 0; i < 60; ++i) {
    content.times.push_back(1268663130 + i);
    content.gpsSentences.push_back(FormatRmcSentence(1268663130 + i, 37.5 + i * 0.001, 127.0, 10.0 + i, 90));
  }
  for (int i = 0; i < 600; ++i) content.gsensor.push_back({0.5f, -0.25f, i / 1000.0f});
  return content;
}

struct Loaded {
  int load = -1;
  int parse = -1;
  SensorRecord record;
};

Loaded Load(const std::string& bytes) {
  TempDir dir;
  WriteFile(dir / "drf.mp4", bytes);
  Loaded result;
  result.load = LoadUserData((dir / "drf.mp4").string(), result.record);
  if (result.load == kLoadOk) {
    result.record.cursor = 0;
    result.parse = ParseUserData(result.record);
  }
  return result;
}

std::string Head() {
  return BuildBox("ftyp", "isom") + BuildBox("mdat", std::string(3000, 'v')) + BuildBox("moov", "m");
}

TEST(SensorRecord, LoadsTheTablesOfARealRecording) {
  TempDir dir;
  const auto path = dir / "drf_20100315_142530.mp4";
  testing_support::MakeCameraClip(path, BuildUserDataBox(Minute()));
  SensorRecord record;
  ASSERT_TRUE(LoadSensorRecord(path.string(), record));
  EXPECT_EQ(record.noData, 0);
  EXPECT_EQ(std::string(record.udtaType.data(), 4), "udta");
  EXPECT_EQ(TimeSampleCount(record), 60u);
  EXPECT_EQ(GpsSampleCount(record), 60u);
  EXPECT_EQ(GSensorSampleCount(record), 600u);
  EXPECT_EQ(record.copy.size(), BuildUserDataBox(Minute()).size()) << "only the udta box and what follows";

  // 60 s with 60 samples: sample k during second k; the end has none.
  record.duration = 60 * kSecond;
  EXPECT_EQ(FindTimeSample(record, 305'000'000), 1268663130 + 30);
  const auto gps = FindGpsSample(record, 305'000'000);
  ASSERT_TRUE(gps);
  EXPECT_NEAR(DecodeGpsSample(*gps).latitude, 37.53, 1e-4);
  EXPECT_FALSE(FindGpsSample(record, 60 * kSecond));
  EXPECT_FALSE(FindTimeSample(record, -1));
  EXPECT_FALSE(FindTimeSample(record, std::numeric_limits<std::int64_t>::max())) << "far past the end";
  // Ten G-sensor samples a second.
  EXPECT_FLOAT_EQ(FindGSensorSample(record, 305'000'000)->values[2], 0.305f);

  const GSensorSample first = GSensorSampleAt(record, 0);
  EXPECT_EQ(first.values[0], 0.5f);
  EXPECT_EQ(first.values[1], -0.25f);
}

TEST(SensorRecord, NoDurationMeansNoSample) {
  const Loaded loaded = Load(Head() + BuildUserDataBox(Minute()));
  ASSERT_EQ(loaded.parse, kParseOk);
  EXPECT_EQ(loaded.record.duration, 0);
  EXPECT_FALSE(FindTimeSample(loaded.record, 0));
  EXPECT_FALSE(FindGpsSample(loaded.record, kSecond));
  EXPECT_FALSE(FindGSensorSample(loaded.record, kSecond));
}

TEST(SensorRecord, LoadResults) {
  TempDir dir;
  SensorRecord record;
  EXPECT_EQ(LoadUserData((dir / "missing.mp4").string(), record), kLoadCannotOpen);
  EXPECT_EQ(LoadUserData(dir.path().string(), record), kLoadCannotOpen);
  ASSERT_EQ(::mkfifo((dir / "fifo.mp4").c_str(), 0600), 0);
  EXPECT_EQ(LoadUserData((dir / "fifo.mp4").string(), record), kLoadCannotOpen) << "and does not wait for a writer";
  EXPECT_EQ(Load("").load, kLoadNothingRead);
  EXPECT_EQ(Load(Head()).load, kLoadNoUserData);
  // Damaged sizes end the walk: a size below 8 and a size past the end of the file.
  std::string zero = Head() + BuildUserDataBox(Minute());
  zero.replace(zero.find("mdat") - 4, 4, std::string(4, '\0'));
  EXPECT_EQ(Load(zero).load, kLoadNoUserData);
  std::string past = Head() + BuildUserDataBox(Minute());
  past.replace(past.find("moov") - 4, 4, std::string("\x7f\0\0\0", 4));
  EXPECT_EQ(Load(past).load, kLoadNoUserData);
  // A udta box nested inside moov is not the camera's record.
  EXPECT_EQ(Load(BuildBox("moov", BuildUserDataBox(Minute()))).load, kLoadNoUserData);
}

TEST(SensorRecord, ParseResults) {
  UserDataContent rtcd = Minute();
  rtcd.timeType = "RTCD";
  EXPECT_EQ(Load(Head() + BuildUserDataBox(rtcd)).parse, kParseOk);

  const std::string time = BuildBox("TIME", std::string(8, '\0'));
  const std::string gps = BuildBox("GPSI", std::string(128, '\0'));
  const std::string sens = BuildBox("SENS", std::string(24, '\0'));
  EXPECT_EQ(Load(BuildBox("udta", gps + time + sens)).parse, kParseNoTimeTable);
  EXPECT_EQ(Load(BuildBox("udta", time + sens + gps)).parse, kParseNoGpsTable);
  EXPECT_EQ(Load(BuildBox("udta", time + gps)).parse, kParseNoSensorTable);
  EXPECT_EQ(Load(BuildBox("udta", "")).parse, kParseNoTimeTable);

  SensorRecord record;
  EXPECT_EQ(ParseUserData(record), kParseNoCursor);
}

TEST(SensorRecord, NeverTrustsATableSize) {
  const std::string gps = BuildBox("GPSI", std::string(128, '\0'));
  const std::string sens = BuildBox("SENS", std::string(24, '\0'));
  // A time table claiming less than its own header cannot be stepped over.
  std::string tiny = BuildBox("udta", BuildBox("TIME", "") + gps + sens);
  tiny.replace(8, 4, std::string(4, '\0'));
  EXPECT_EQ(Load(tiny).parse, kParseNoGpsTable);
  // A GPS table claiming more than the file holds leaves no room for the next table.
  std::string huge = BuildBox("udta", BuildBox("TIME", "") + gps + sens);
  huge.replace(16, 4, std::string("\x10\0\0\0", 4));
  EXPECT_EQ(Load(huge).parse, kParseNoSensorTable);
  // The last table's samples are counted up to the end of the file, not past it.
  std::string cut = BuildBox("udta", BuildBox("TIME", "") + gps + BuildBox("SENS", std::string(120, '\0')));
  cut.resize(cut.size() - 50);
  const Loaded loaded = Load(cut);
  ASSERT_EQ(loaded.parse, kParseOk);
  EXPECT_EQ(GSensorSampleCount(loaded.record), 5u);
  EXPECT_EQ(GpsSampleCount(loaded.record), 2u);
}

TEST(SampleIndex, SpreadsSamplesEvenlyOverTheDuration) {
  EXPECT_EQ(SampleIndex(0, 600, 60), 0u);
  EXPECT_EQ(SampleIndex(599, 600, 60), 59u);
  EXPECT_FALSE(SampleIndex(600, 600, 60));
  EXPECT_FALSE(SampleIndex(10, 600, 0));
  EXPECT_FALSE(SampleIndex(10, -5, 60));
}

}  // namespace
