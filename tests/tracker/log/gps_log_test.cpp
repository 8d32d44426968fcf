#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fake_scan_host.h"
#include "tests/support/temp_dir.h"
#include "tracker/log/field_text.h"
#include "tracker/log/gps_log_reader.h"
#include "tracker/log/gps_log_writer.h"
#include "tracker/log/log_folder_reader.h"

namespace {

using tracker::GpsChunk;
using tracker::GpsLogReadResult;

std::vector<std::string> Sentences(int first_second, int count) {
  std::vector<std::string> sentences;
  for (int i = 0; i < count; ++i) {
    tracker::GpsFix fix{.year = 2013,
                        .month = 5,
                        .day = 4,
                        .hour = 12,
                        .minute = 0,
                        .second = first_second + i,
                        .latitude = 37.5 + i * 0.0001,
                        .longitude = 127.0 + i * 0.0001,
                        .speed_knots = 20.0};
    sentences.push_back(tracker::FormatGprmcSentence(fix));
  }
  return sentences;
}

struct ReadOutcome {
  GpsLogReadResult result;
  tracker::PointStore points;
};

ReadOutcome Read(const std::filesystem::path& path) {
  tracker::GpsLogBuffers buffers;
  std::atomic<bool> cancel{false};
  ReadOutcome outcome;
  outcome.result = tracker::ReadGpsLogFile(path, buffers, outcome.points, cancel);
  return outcome;
}

class GpsLogTest : public testing::Test {
 protected:
  testing_support::TempDir dir_;
};

TEST_F(GpsLogTest, WrittenFixesReadBackThroughEveryChunkAndSkip) {
  std::vector<GpsChunk> chunks = {
      {Sentences(0, 3), 0, 0},
      {Sentences(3, 2), 17, 5},
      {{"$GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74", ""}, 4, 0},
      {Sentences(5, 1), 0, 9},
  };
  chunks[2].sentences[0].resize(64);
  ASSERT_TRUE(tracker::WriteGpsLog(dir_ / "gps.log", chunks));
  const ReadOutcome outcome = Read(dir_ / "gps.log");
  EXPECT_EQ(outcome.result, GpsLogReadResult::kEndReached);
  ASSERT_EQ(outcome.points.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(outcome.points[i].time_number, 120000 + i);
  EXPECT_EQ(tracker::FieldText(outcome.points[1].latitude), "37.50010");
  EXPECT_EQ(tracker::FieldText(outcome.points[1].longitude), "127.00010");
  EXPECT_EQ(tracker::FieldText(outcome.points[0].speed), "020.0");
}

TEST_F(GpsLogTest, ChainEndingExactlyAtTheFileSizeSucceeds) {
  const std::vector<GpsChunk> chunks = {{Sentences(0, 2), 0, 3}};
  const std::string bytes = *tracker::EncodeGpsLog(chunks);
  testing_support::WriteFile(dir_ / "exact.log", bytes);
  EXPECT_EQ(Read(dir_ / "exact.log").result, GpsLogReadResult::kEndReached);

  // One byte more leaves a header that is too short: the file fails, its points stay.
  testing_support::WriteFile(dir_ / "longer.log", bytes + "X");
  const ReadOutcome longer = Read(dir_ / "longer.log");
  EXPECT_EQ(longer.result, GpsLogReadResult::kNotAGpsLog);
  EXPECT_EQ(longer.points.size(), 2u);
}

TEST_F(GpsLogTest, TruncatedChunkKeepsTheRecordsDecompressedBeforeTheCut) {
  const std::vector<GpsChunk> chunks = {{Sentences(0, 1), 0, 0}, {Sentences(1, 40), 0, 0}};
  std::string bytes = *tracker::EncodeGpsLog(chunks);
  bytes.resize(bytes.size() - 40);
  testing_support::WriteFile(dir_ / "cut.log", bytes);
  const ReadOutcome outcome = Read(dir_ / "cut.log");
  EXPECT_EQ(outcome.result, GpsLogReadResult::kEndReached);
  EXPECT_GT(outcome.points.size(), 1u);
  EXPECT_LT(outcome.points.size(), 41u);
  for (std::size_t i = 0; i < outcome.points.size(); ++i) {
    EXPECT_EQ(outcome.points[i].time_number, 120000 + static_cast<int>(i));
  }
}

TEST_F(GpsLogTest, LyingSizeFieldsNeitherCrashNorLoop) {
  std::string bytes = *tracker::EncodeGpsLog(std::vector<GpsChunk>{{Sentences(0, 3), 0, 0}});
  std::string huge = bytes;
  huge[20] = huge[21] = huge[22] = huge[23] = '\xFF';  // compressed size of 4 GiB
  testing_support::WriteFile(dir_ / "huge.log", huge);
  const ReadOutcome outcome = Read(dir_ / "huge.log");
  EXPECT_EQ(outcome.result, GpsLogReadResult::kEndReached);
  EXPECT_EQ(outcome.points.size(), 3u);

  std::string skip = bytes;
  skip[32] = skip[33] = skip[34] = skip[35] = '\xFF';  // a skip that would point backwards if signed
  testing_support::WriteFile(dir_ / "skip.log", skip + bytes);
  EXPECT_EQ(Read(dir_ / "skip.log").result, GpsLogReadResult::kEndReached);
}

TEST_F(GpsLogTest, FilesThatAreNotGpsLogsGiveNothing) {
  std::string bytes = *tracker::EncodeGpsLog(std::vector<GpsChunk>{{Sentences(0, 3), 0, 0}});
  bytes[12] = 'X';
  testing_support::WriteFile(dir_ / "tagless.log", bytes);
  testing_support::WriteFile(dir_ / "short.log", std::string(47, '\0'));
  testing_support::WriteFile(dir_ / "empty.log", "");
  for (const char* name : {"tagless.log", "short.log", "empty.log", "missing.log"}) {
    const ReadOutcome outcome = Read(dir_ / name);
    EXPECT_EQ(outcome.result, GpsLogReadResult::kNotAGpsLog) << name;
    EXPECT_TRUE(outcome.points.empty()) << name;
  }
}

TEST_F(GpsLogTest, WriterRefusesWhatTheCameraCannotHold) {
  EXPECT_FALSE(tracker::EncodeGpsLog(std::vector<GpsChunk>{{{std::string(65, 'x')}, 0, 0}}));
  GpsChunk too_big;
  too_big.sentences.assign(tracker::kGpsChunkOutputLimit / 64 + 1, "$GPRMC");
  EXPECT_FALSE(tracker::EncodeGpsLog(std::vector<GpsChunk>{too_big}));
}

TEST_F(GpsLogTest, AFolderReadOnManyThreadsGivesTheFixesInNameOrder) {
  // More files than three threads read ahead, of uneven sizes, some not logs at all, and a
  // few too large to be read ahead (filler after the data).
  for (int file = 0; file < 120; ++file) {
    char name[32];
    std::snprintf(name, sizeof name, "GPS_%03d.log", file);
    if (file % 17 == 5) {
      testing_support::WriteFile(dir_ / name, "not a log");
      continue;
    }
    const std::uint32_t filler = file % 50 == 7 ? 3 * 1024 * 1024 : 0;
    ASSERT_TRUE(
        tracker::WriteGpsLog(dir_ / name, std::vector<GpsChunk>{{Sentences(file % 20, 1 + file * 7 % 40), 0, filler},
                                                                {Sentences(file % 20 + 1, 3), 0, 0}}));
  }
  std::vector<tracker::LogFile> files;
  ASSERT_TRUE(tracker::ListLogFiles(dir_.path(), files));
  tracker_test::FakeScanHost host;
  tracker::PointStore one_by_one;
  ASSERT_TRUE(tracker::ReadLogFiles(files, one_by_one, host, 1));
  tracker::PointStore together;
  ASSERT_TRUE(tracker::ReadLogFiles(files, together, host, 3));
  ASSERT_GT(one_by_one.size(), 1000u);
  ASSERT_EQ(together.size(), one_by_one.size());
  EXPECT_EQ(std::memcmp(together.data(), one_by_one.data(), together.size() * sizeof together[0]), 0);
  EXPECT_EQ(host.progress.back().value, 100);
}

}  // namespace
