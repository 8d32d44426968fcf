// The generated card, read back with independent tools and with the project's own readers.
#include "tools/samplecard/card.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "manager/recording/gps_decode.h"
#include "manager/recording/impact.h"
#include "manager/recording/samples.h"
#include "manager/recording/sensor_record.h"
#include "manager/recording/structure_check.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_writer.h"
#include "manager/timeline/card_timeline.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tracker/log/gps_log_reader.h"
#include "tracker/log/local_time.h"

namespace {

using namespace samplecard;
using testing_support::ReadFile;
using testing_support::ShellQuoted;
using testing_support::TempDir;
namespace fs = std::filesystem;

class SampleCard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    card_ = new TempDir;
    manifest_ = new CardManifest(WriteCard(card_->path(), PresetOptions(Preset::Small)));
  }
  static void TearDownTestSuite() {
    delete manifest_;
    delete card_;
  }
  static const RecordingInfo& Recording(RecordingKind kind) {
    for (const auto& r : manifest_->recordings) {
      if (r.kind == kind) return r;
    }
    throw std::runtime_error("no such recording");
  }

  static TempDir* card_;
  static CardManifest* manifest_;
};
TempDir* SampleCard::card_ = nullptr;
CardManifest* SampleCard::manifest_ = nullptr;

TEST_F(SampleCard, HoldsEveryKindOfRecordingAndTwoStubs) {
  ASSERT_EQ(manifest_->recordings.size(), 6u);
  for (const RecordingKind kind : {RecordingKind::Normal, RecordingKind::NoUserData, RecordingKind::DamagedMovie,
                                   RecordingKind::RtcdTimeTable, RecordingKind::NoCompanion}) {
    EXPECT_NO_THROW(Recording(kind));
  }
  for (const auto& r : manifest_->recordings) {
    EXPECT_TRUE(fs::exists(r.front));
    EXPECT_EQ(r.rear.has_value(), r.kind != RecordingKind::NoCompanion);
    EXPECT_EQ(r.front.parent_path().filename(), r.cause);
  }
  ASSERT_EQ(manifest_->stubs.size(), 2u);
  for (const auto& stub : manifest_->stubs) EXPECT_LE(fs::file_size(stub), 1024u);
}

TEST_F(SampleCard, FfprobeFindsTheStreamsAndTheDuration) {
  const auto& r = Recording(RecordingKind::Normal);
  for (const auto& [path, width] : {std::pair{r.front, 1280}, std::pair{*r.rear, 640}}) {
    const auto probe = testing_support::RunCommand("ffprobe -v error -show_streams -show_format -of json " +
                                                   ShellQuoted(path.string()));
    ASSERT_EQ(probe.status, 0) << probe.err;
    const auto json = nlohmann::json::parse(probe.out);
    ASSERT_EQ(json["streams"].size(), 2u);
    EXPECT_EQ(json["streams"][0]["codec_name"], "h264");
    EXPECT_EQ(json["streams"][0]["width"], width);
    EXPECT_EQ(json["streams"][0]["r_frame_rate"], "30/1");
    EXPECT_EQ(json["streams"][1]["codec_name"], "aac");
    EXPECT_NEAR(std::stod(json["format"]["duration"].get<std::string>()), 2.0, 0.1);
  }
}

TEST_F(SampleCard, TheCamerasReadersSeeWhatWasWritten) {
  for (const auto& r : manifest_->recordings) {
    const std::string path = r.front.string();
    EXPECT_EQ(recording::CheckRecordingStructure(path), r.kind == RecordingKind::DamagedMovie ? -1 : 0) << path;
    recording::SensorRecord record;
    const bool loaded = recording::LoadSensorRecord(path, record);
    EXPECT_EQ(loaded, r.kind != RecordingKind::NoUserData) << path;
    if (!loaded) continue;
    EXPECT_EQ(std::string(record.time.type.data(), 4), r.kind == RecordingKind::RtcdTimeTable ? "RTCD" : "TIME");
    ASSERT_EQ(recording::TimeSampleCount(record), r.fixes.size());
    ASSERT_EQ(recording::GpsSampleCount(record), r.fixes.size());
    ASSERT_EQ(recording::GSensorSampleCount(record), r.gsensor.size());
    for (std::uint32_t i = 0; i < r.fixes.size(); ++i) {
      EXPECT_EQ(recording::TimeSampleAt(record, i), r.fixes[i].utc + manifest_->cameraOffsetSeconds);
      const auto fix = recording::DecodeGpsSample(recording::GpsSampleAt(record, i));
      if (r.fixes[i].valid) {
        EXPECT_NEAR(fix.latitude, r.fixes[i].latitude, 1e-4);
        EXPECT_NEAR(fix.longitude, r.fixes[i].longitude, 1e-4);
        EXPECT_NEAR(fix.speed, r.fixes[i].knots, 0.01);
      } else {
        EXPECT_EQ(recording::ClassifyFix(fix), recording::FixKind::NoFix);
      }
    }
    for (std::uint32_t i = 0; i < r.gsensor.size(); ++i) {
      EXPECT_EQ(recording::GSensorSampleAt(record, i).values, r.gsensor[i]);
    }
  }
}

TEST_F(SampleCard, EventRecordingsCarryAClearImpact) {
  for (const auto& r : manifest_->recordings) {
    std::vector<recording::GSensorSample> samples;
    for (const auto& values : r.gsensor) samples.push_back({values});
    const auto impact = recording::FindImpact(samples);
    ASSERT_TRUE(impact.has_value()) << r.front;
    if (r.cause == "EVENT") {
      EXPECT_GT(impact->g, 1.5f) << r.front;
      EXPECT_EQ(impact->index / 10, r.fixes.size() / 2) << "in the middle second";
    } else {
      EXPECT_LT(impact->g, 0.8f) << r.front << ": driving alone is no impact";
    }
  }
}

TEST_F(SampleCard, TheTrackerReadsEveryLogFix) {
  tracker::GpsLogBuffers buffers;
  std::atomic<bool> cancel{false};
  std::size_t total = 0;
  for (const auto& log : manifest_->logs) {
    tracker::PointStore points;
    EXPECT_EQ(tracker::ReadGpsLogFile(log.path, buffers, points, cancel), tracker::GpsLogReadResult::kEndReached);
    EXPECT_EQ(points.size(), log.validFixes) << log.path;
    EXPECT_LT(log.validFixes, log.records) << "GGA sentences and fixes without status A are there too";
    total += points.size();
  }
  EXPECT_EQ(total, manifest_->validFixes);
  EXPECT_EQ(std::count_if(manifest_->logs.begin(), manifest_->logs.end(), [](const auto& l) { return l.copy; }), 1);
}

// A replay point of the GPS logs finds the recording of that moment, at that second: by the
// sensor record's time stamps, and by the name in the camera's zone where there is no record.
TEST_F(SampleCard, TheLogsAndTheRecordingsDescribeTheSameMoments) {
  EXPECT_EQ(manifest_->cameraOffsetSeconds, 9 * 3600);
  std::set<std::int64_t> logMoments;
  tracker::GpsLogBuffers buffers;
  std::atomic<bool> cancel{false};
  for (const auto& log : manifest_->logs) {
    tracker::PointStore points;
    tracker::ReadGpsLogFile(log.path, buffers, points, cancel);
    for (const auto& point : points) logMoments.insert(tracker::UtcSeconds(point.date_number, point.time_number));
  }
  const auto timeline = timeline::CardTimeline::Build(card_->path().string(), 0);
  EXPECT_TRUE(timeline.zone().fromCard);
  for (const auto& r : manifest_->recordings) {
    for (std::size_t second = 0; second < r.fixes.size(); ++second) {
      const std::int64_t moment = r.fixes[second].utc;
      if (r.fixes[second].valid) {
        EXPECT_TRUE(logMoments.contains(moment)) << r.front;
      }
      const auto matches = timeline.Find(moment);
      ASSERT_FALSE(matches.empty()) << r.front;
      const auto it = std::find_if(matches.begin(), matches.end(),
                                   [&](const auto& m) { return m.entry->path == r.front.string(); });
      ASSERT_NE(it, matches.end()) << r.front;
      EXPECT_EQ(it->offset, static_cast<std::int64_t>(second) * 10'000'000) << r.front;
    }
  }
}

TEST_F(SampleCard, TheSettingsFolderHoldsTheFactoryText) {
  EXPECT_EQ(ReadFile(manifest_->setupFile), setup::FactoryText(setup::kDualProfile, setup::kDualProfile.defaults));
}

TEST(SampleCardSeed, TheSameSeedGivesTheSameBytes) {
  CardOptions options = PresetOptions(Preset::Small);
  options.days = 1;
  options.recordings = 1;
  options.recordingSeconds = 1;
  TempDir a, b, c;
  WriteCard(a.path(), options);
  WriteCard(b.path(), options);
  options.seed = 2;
  WriteCard(c.path(), options);
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(a.path())) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = entry.path().lexically_relative(a.path());
    EXPECT_EQ(ReadFile(entry.path()), ReadFile(b / relative.string())) << relative;
    ++files;
  }
  EXPECT_GT(files, 5u);
  // Another seed drives at other times, so its log files have other names.
  const auto names = [](const fs::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
    return found;
  };
  EXPECT_NE(names(a / "GPSLOG"), names(c / "GPSLOG"));
}

}  // namespace
