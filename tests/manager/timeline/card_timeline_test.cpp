#include "manager/timeline/card_timeline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "manager/timeline/recording_times.h"
#include "tests/manager/timeline/fake_recording.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace timeline;
using testing_support::FakeRecording;
using testing_support::TempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

// 2024-05-13 06:00:00 UTC, as a camera in Seoul stamps it: its clock runs on local time.
constexpr std::int32_t kSix = 1715580000;
constexpr std::int32_t kSixInSeoul = kSix + 9 * 3600;

std::string SetupText(int zone, int dst) {
  return "[MISC.TIME]\r\nTimeZone        = " + std::to_string(zone) + " ;\r\nDST        = " + std::to_string(dst) +
         " ;\r\n";
}

struct File {
  std::string path;                     // relative to the card
  int seconds;                          // movie duration; -1 none
  std::optional<std::int32_t> stamp{};  // first time stamp
};

struct Case {
  std::string name;
  std::optional<std::string> setup;  // Setup.ini text; none: no file
  std::int64_t fallback;             // the tracker's zone, seconds east of UTC
  std::vector<File> files;
  std::string moment;                                    // UTC
  std::vector<std::pair<std::string, double>> expected;  // path, offset in seconds
  std::string nearest = {};                              // when nothing covers the moment
};

TEST(CardTimeline, FindsTheRecordingsOfAMoment) {
  const std::vector<Case> cases = {
      {"Seoul: the name is 9 h ahead; first second",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", 60}},
       "2024-05-13 06:00:00",
       {{"CONTINUOUS/drf_20240513_150000.mp4", 0}}},
      {"last second",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", 60}},
       "2024-05-13 06:00:59",
       {{"CONTINUOUS/drf_20240513_150000.mp4", 59}}},
      {"the end is not covered",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", 60}},
       "2024-05-13 06:01:00",
       {},
       "CONTINUOUS/drf_20240513_150000.mp4"},
      {"a second before the start",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", 60}},
       "2024-05-13 05:59:59",
       {},
       "CONTINUOUS/drf_20240513_150000.mp4"},
      {"daylight saving adds an hour",
       SetupText(71, 1),
       0,
       {{"CONTINUOUS/drf_20240513_160000.mp4", 60}},
       "2024-05-13 06:00:10",
       {{"CONTINUOUS/drf_20240513_160000.mp4", 10}}},
      {"Newfoundland, half an hour behind, across midnight",
       SetupText(21, 0),
       0,
       {{"EVENT/drf_20240512_223000.mp4", 30}},
       "2024-05-13 02:00:05",
       {{"EVENT/drf_20240512_223000.mp4", 5}}},
      {"no Setup.ini: the tracker's zone",
       std::nullopt,
       2 * 3600,
       {{"CONTINUOUS/drf_20240513_080000.mp4", 60}},
       "2024-05-13 06:00:30",
       {{"CONTINUOUS/drf_20240513_080000.mp4", 30}}},
      {"an unknown zone index: the tracker's zone",
       SetupText(99, 0),
       -5 * 3600,
       {{"CONTINUOUS/drf_20240513_010000.mp4", 60}},
       "2024-05-13 06:00:30",
       {{"CONTINUOUS/drf_20240513_010000.mp4", 30}}},
      {"the first time stamp wins over the name",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_230000.mp4", 60, kSixInSeoul}},
       "2024-05-13 06:00:20",
       {{"CONTINUOUS/drf_20240513_230000.mp4", 20}}},
      {"no movie header: a second per time stamp",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", -1, kSixInSeoul}},
       "2024-05-13 06:00:01",
       {{"CONTINUOUS/drf_20240513_150000.mp4", 1}}},
      {"neither header nor stamps: not placed",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", -1}},
       "2024-05-13 06:00:01",
       {}},
      {"a gap between two: the nearer one",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", 60}, {"CONTINUOUS/drf_20240513_150200.mp4", 60}},
       "2024-05-13 06:01:50",
       {},
       "CONTINUOUS/drf_20240513_150200.mp4"},
      {"event first where front, rear and event overlap",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_150000.mp4", 60},
        {"CONTINUOUS/drr_20240513_150000.mp4", 60},
        {"EVENT/drf_20240513_150030.mp4", 20},
        {"MANUAL/drf_20240513_150035.mp4", 20}},
       "2024-05-13 06:00:40",
       {{"EVENT/drf_20240513_150030.mp4", 10},
        {"MANUAL/drf_20240513_150035.mp4", 5},
        {"CONTINUOUS/drf_20240513_150000.mp4", 40}}},
      {"a long recording long before still covers",
       SetupText(71, 0),
       0,
       {{"CONTINUOUS/drf_20240513_140000.mp4", 7200}, {"CONTINUOUS/drf_20240513_145900.mp4", 30}},
       "2024-05-13 06:30:00",
       {{"CONTINUOUS/drf_20240513_140000.mp4", 5400}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir card;
    if (c.setup) WriteFile(card / "SETUP/Setup.ini", *c.setup);
    for (const File& f : c.files) WriteFile(card / f.path, FakeRecording(f.seconds, f.stamp));
    const CardTimeline timeline = CardTimeline::Build(card.path().string(), c.fallback);
    const auto moment = ParseMomentText(c.moment);
    ASSERT_TRUE(moment);

    std::vector<std::pair<std::string, double>> found;
    for (const TimelineMatch& match : timeline.Find(*moment)) {
      found.emplace_back(fs::path(match.entry->path).lexically_relative(card.path()).string(),
                         static_cast<double>(match.offset) / 1e7);
    }
    EXPECT_EQ(found, c.expected);
    if (!c.nearest.empty()) {
      const TimelineEntry* nearest = timeline.Nearest(*moment);
      ASSERT_NE(nearest, nullptr);
      EXPECT_EQ(fs::path(nearest->path).lexically_relative(card.path()).string(), c.nearest);
    }
  }
}

TEST(CardTimeline, KnowsTheRearCompanionAndLeavesStubsAlone) {
  TempDir card;
  WriteFile(card / "CONTINUOUS/drf_20240513_150000.mp4", FakeRecording(60, std::nullopt));
  WriteFile(card / "CONTINUOUS/drr_20240513_150000.mp4", FakeRecording(60, std::nullopt));
  WriteFile(card / "EVENT/drf_20240513_150000.mp4", FakeRecording(60, std::nullopt));
  WriteFile(card / "EVENT/drf_20240513_160000.mp4", std::string(1024, '\0'));  // a stub
  const CardTimeline timeline = CardTimeline::Build(card.path().string(), 9 * 3600);
  ASSERT_EQ(timeline.entries().size(), 2u);
  for (const TimelineEntry& entry : timeline.entries()) {
    EXPECT_EQ(entry.rear.empty(), entry.cause == "SENS") << entry.path;
  }
  EXPECT_TRUE(fs::exists(card / "EVENT/drf_20240513_160000.mp4"));
  EXPECT_FALSE(timeline.zone().fromCard);
}

// Damaged headers must neither crash nor give a duration that would cover half the card.
TEST(RecordingTimes, TrustsNoSizeField) {
  using recording::BuildBox;
  auto header = [](std::uint32_t size, std::string_view type) {
    std::string bytes;
    common::AppendBigEndian32(bytes, size);
    return bytes + std::string(type);
  };
  struct Bytes {
    std::string name;
    std::string file;
    std::optional<std::int64_t> first;
    std::optional<std::int64_t> duration;  // 100 ns
  };
  const std::string fine = FakeRecording(2, kSix);
  const std::vector<Bytes> cases = {
      {"a whole recording", fine, kSix, 20'000'000},
      {"cut inside the sensor record", fine.substr(0, fine.size() - 6), kSix, 20'000'000},
      {"a box of size 4 ends the walk", header(4, "free") + fine, std::nullopt, std::nullopt},
      {"a movie header claiming 100 days",
       BuildBox("moov",
                BuildBox("mvhd", std::string(12, '\0') + std::string("\0\0\0\1", 4) + std::string("\0\x84\x2b\0", 4))),
       std::nullopt, std::nullopt},
      {"a zero time scale", BuildBox("moov", BuildBox("mvhd", std::string(20, '\0'))), std::nullopt, std::nullopt},
      {"a time table larger than the file",
       header(0x7fffffff, "udta") + header(0x7ffffff0, "TIME") + std::string("\x10\x20\x30\x40", 4), 0x40302010,
       10'000'000},
      {"a negative time stamp counts as none", FakeRecording(3, -5), std::nullopt, 30'000'000},
      {"64-bit box size",
       header(1, "moov") + std::string("\0\0\0\0\0\0\0\x78", 8) +
           BuildBox("mvhd", std::string(12, '\0') + std::string("\0\0\0\x0a\0\0\0\x1e", 8) + std::string(80, '\0')),
       std::nullopt, 30'000'000},
  };
  for (const Bytes& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteFile(dir / "drf_20240513_150000.mp4", c.file);
    const RecordingTimes times = ReadRecordingTimes(dir / "drf_20240513_150000.mp4");
    EXPECT_EQ(times.firstSample, c.first);
    EXPECT_EQ(times.duration, c.duration);
  }
}

TEST(MomentText, ReadsOnlyRealMoments) {
  EXPECT_EQ(ParseMomentText("2024-05-13 06:00:00"), kSix);
  EXPECT_EQ(MomentText(kSix), "2024-05-13 06:00:00");
  for (const char* bad : {"2024-02-30 06:00:00", "2024-05-13 24:00:00", "2024-05-13 6:00:00", "2024-05-13T06:00:00",
                          "2024-05-13 06:00:00x", ""}) {
    EXPECT_FALSE(ParseMomentText(bad)) << bad;
  }
}

}  // namespace
