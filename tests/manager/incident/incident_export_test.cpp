// The incident folder, made from generated recordings and checked with the tools a recipient
// has: ffprobe for the clips, sha256sum for the digests.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "manager/incident/incident_export.h"
#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tools/samplecard/clip_encoder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::RunCommand;
using testing_support::ShellQuoted;
using testing_support::TempDir;

constexpr std::int64_t kSecond = 10'000'000;
constexpr int kClipSeconds = 12;
constexpr std::time_t kStart = 1715590800;  // 2024-05-13 09:00:00 UTC

// A clip of 12 s at 10 frames a second with a key frame a second and sound, made once.
const std::string& Movie() {
  static const std::string bytes = [] {
    TempDir dir;
    samplecard::ClipOptions options;
    options.seconds = kClipSeconds;
    options.keyframeInterval = 10;
    if (!samplecard::EncodeClip(dir / "clip.mp4", options)) throw std::runtime_error("ffmpeg failed");
    return testing_support::ReadFile(dir / "clip.mp4");
  }();
  return bytes;
}

// The camera's record for a recording starting at `start`: a fix a second moving north at
// 36 knots, ten G samples a second at rest but for a jolt at `impactSecond` + 0.5 s.
std::string Record(std::time_t start, int impactSecond) {
  recording::UserDataContent content;
  for (int s = 0; s < kClipSeconds; ++s) {
    content.times.push_back(static_cast<std::int32_t>(start + s));
    content.gpsSentences.push_back(recording::FormatRmcSentence(start + s, 37.5 + s * 0.0002, 127.0, 36.0 + s, 0));
    for (int k = 0; k < 10; ++k) {
      const bool jolt = s == impactSecond && k == 5;
      content.gsensor.push_back({0.98f, jolt ? -1.7f : 0.01f, 0.02f});
    }
  }
  return recording::BuildUserDataBox(content);
}

std::string Name(std::time_t start) {
  std::tm t{};
  ::gmtime_r(&start, &t);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d_%H%M%S.mp4", &t);
  return text;
}

// One recording pair (front and rear) of the card.
fs::path WritePair(const fs::path& card, std::time_t start, int impactSecond) {
  const fs::path front = card / "EVENT" / ("drf_" + Name(start));
  testing_support::WriteFile(front, Movie() + Record(start, impactSecond));
  testing_support::WriteFile(card / "EVENT" / ("drr_" + Name(start)), Movie() + Record(start, impactSecond));
  return front;
}

double Probe(const fs::path& file, const std::string& entries, const std::string& stream = "") {
  const auto result = RunCommand("ffprobe -v error " + stream + " -show_entries " + entries +
                                 " -of default=noprint_wrappers=1:nokey=1 " + ShellQuoted(file.string()));
  return std::stod(result.out.empty() ? "nan" : result.out);
}

// The video packets' sizes, in order: equal sizes from the key frame on mean copied frames.
std::vector<int> PacketSizes(const fs::path& file) {
  const auto result = RunCommand("ffprobe -v error -select_streams v:0 -show_entries packet=size -of csv=p=0 " +
                                 ShellQuoted(file.string()));
  std::vector<int> sizes;
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) sizes.push_back(std::stoi(line));
  return sizes;
}

std::string Codecs(const fs::path& file) {
  return RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + ShellQuoted(file.string())).out;
}

incident::IncidentRequest Request(const fs::path& recording, double at, double before, double after,
                                  const fs::path& folder) {
  incident::IncidentRequest request;
  request.recording = recording.string();
  request.at = static_cast<std::int64_t>(at * kSecond);
  request.before = static_cast<std::int64_t>(before * kSecond);
  request.after = static_cast<std::int64_t>(after * kSecond);
  request.folder = folder;
  request.page = false;  // the command-line test makes the page
  request.programVersion = "test";
  return request;
}

TEST(IncidentExport, CutsThePairAndDescribesIt) {
  TempDir card;
  const fs::path front = WritePair(card.path(), kStart, 6);
  const fs::path folder = card / "incident";
  // From 4 s, a key frame, to 9 s.
  const auto result = incident::ExportIncident(Request(front, 6.5, 2.5, 2.5, folder));
  ASSERT_EQ(result.status, incident::ExportStatus::Ok) << result.error;

  for (const char* clip : {"front.mp4", "rear.mp4"}) {
    SCOPED_TRACE(clip);
    EXPECT_NEAR(Probe(folder / clip, "format=duration"), 5.0, 0.15);
    EXPECT_EQ(Codecs(folder / clip), "h264\naac\n");
    // Frames 40 to 89 of the source, each the same size: copied, not encoded again.
    const auto source = PacketSizes(front);
    const auto cut = PacketSizes(folder / clip);
    ASSERT_EQ(cut.size(), 50u);
    EXPECT_EQ(cut, std::vector<int>(source.begin() + 40, source.begin() + 90));
  }

  // The digests check out where the card lies beside the folder, and name the sources.
  const auto check = RunCommand("cd " + ShellQuoted(folder.string()) + " && sha256sum -c SHA256SUMS");
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  const std::string sums = testing_support::ReadFile(folder / "SHA256SUMS");
  for (const char* name : {"front.mp4", "rear.mp4", "track.gpx", "track.kml", "gsensor.csv", "summary.json",
                           "../EVENT/drf_20240513_090000.mp4", "../EVENT/drr_20240513_090000.mp4"}) {
    EXPECT_NE(sums.find(std::string("  ") + name + "\n"), std::string::npos) << name;
  }

  // The track: the fixes of 4 s to 8 s, with their times.
  const std::string gpx = testing_support::ReadFile(folder / "track.gpx");
  EXPECT_EQ(std::count(gpx.begin(), gpx.end(), '\n') - 8, 5) << gpx;
  EXPECT_NE(gpx.find("<time>2024-05-13T09:00:04Z</time>"), std::string::npos);
  EXPECT_NE(gpx.find("<time>2024-05-13T09:00:08Z</time>"), std::string::npos) << gpx;
  EXPECT_EQ(gpx.find("09:00:09Z"), std::string::npos);

  const auto summary = nlohmann::json::parse(testing_support::ReadFile(folder / "summary.json"));
  EXPECT_EQ(summary["moment"]["time"], "2024-05-13T09:00:06Z");
  EXPECT_NEAR(summary["moment"]["position"]["latitude"].get<double>(), 37.5012, 1e-4);
  EXPECT_NEAR(summary["moment"]["speedKnots"].get<double>(), 42.0, 0.01);
  EXPECT_NEAR(summary["largestG"]["g"].get<double>(), 1.71, 0.01);
  EXPECT_NEAR(summary["largestG"]["secondsFromMoment"].get<double>(), 0.0, 0.05);
  EXPECT_NEAR(summary["largestSpeed"]["knots"].get<double>(), 44.0, 0.01);
  EXPECT_EQ(summary["recordings"].size(), 2u);
  EXPECT_EQ(summary["recordings"][0]["file"], "EVENT/drf_20240513_090000.mp4");
  EXPECT_NEAR(summary["recordings"][0]["fromSeconds"].get<double>(), 4.0, 1e-6);

  // The folder now holds files: a second export is refused, and --force replaces it.
  EXPECT_EQ(incident::ExportIncident(Request(front, 6.5, 2.5, 2.5, folder)).status,
            incident::ExportStatus::FolderInUse);
  auto forced = Request(front, 1.0, 1.0, 1.0, folder);
  forced.force = true;
  ASSERT_EQ(incident::ExportIncident(forced).status, incident::ExportStatus::Ok);
  EXPECT_NEAR(Probe(folder / "front.mp4", "format=duration"), 2.0, 0.15);
}

TEST(IncidentExport, RunsOnIntoTheAdjacentRecording) {
  TempDir card;
  WritePair(card.path(), kStart - kClipSeconds, 99);
  const fs::path middle = WritePair(card.path(), kStart, 99);
  WritePair(card.path(), kStart + kClipSeconds + 1, 2);       // one second's pause before it
  WritePair(card.path(), kStart + 3 * kClipSeconds + 10, 2);  // far away: never used

  struct Case {
    std::string name;
    double at, before, after;
    double duration;
    std::vector<std::string> files;  // of the front recordings used
  };
  const std::vector<Case> cases = {
      {"into the next", 10.0, 2.0, 5.0, 7.0, {"drf_20240513_090000.mp4", "drf_20240513_090013.mp4"}},
      {"from the previous", 1.0, 3.0, 2.0, 5.0, {"drf_20240513_085948.mp4", "drf_20240513_090000.mp4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = card / ("out-" + std::to_string(&c - cases.data()));
    const auto result = incident::ExportIncident(Request(middle, c.at, c.before, c.after, folder));
    ASSERT_EQ(result.status, incident::ExportStatus::Ok) << result.error;
    EXPECT_NEAR(Probe(folder / "front.mp4", "format=duration"), c.duration, 0.15);
    EXPECT_NEAR(Probe(folder / "rear.mp4", "format=duration"), c.duration, 0.15);
    EXPECT_EQ(PacketSizes(folder / "front.mp4").size(), static_cast<std::size_t>(c.duration * 10));
    const auto summary = nlohmann::json::parse(testing_support::ReadFile(folder / "summary.json"));
    std::vector<std::string> used;
    for (const auto& item : summary["recordings"]) {
      if (item["channel"] == 1) used.push_back(fs::path(item["file"].get<std::string>()).filename().string());
    }
    EXPECT_EQ(used, c.files);
    EXPECT_EQ(RunCommand("cd " + ShellQuoted(folder.string()) + " && sha256sum --quiet -c SHA256SUMS").status, 0);
  }
  // The impact of the next recording, 2.5 s into it, lies 4.5 s after the moment at 10 s.
  const auto summary = nlohmann::json::parse(testing_support::ReadFile(card / "out-0" / "summary.json"));
  EXPECT_NEAR(summary["largestG"]["secondsFromMoment"].get<double>(), 4.5, 0.05);
}

TEST(IncidentExport, CancelLeavesNothing) {
  TempDir card;
  const fs::path front = WritePair(card.path(), kStart, 6);
  struct Case {
    std::string name;
    double cancelAt;  // the fraction of the work at which the cancel comes
  };
  for (const Case& c : std::vector<Case>{{"while cutting", 0.0}, {"while hashing", 0.9}}) {
    SCOPED_TRACE(c.name);
    std::atomic<bool> cancel{false};
    const auto result = incident::ExportIncident(Request(front, 6.0, 5.0, 5.0, card / "incident"), &cancel,
                                                 [&](double fraction, std::string_view) {
                                                   if (fraction >= c.cancelAt) cancel = true;
                                                 });
    EXPECT_EQ(result.status, incident::ExportStatus::Cancelled);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(card.path())) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"EVENT"});
  }
}

}  // namespace

namespace {

TEST(IncidentExport, ARearThatCannotBePlayedCostsOnlyTheRearClip) {
  TempDir card;
  const fs::path front = WritePair(card.path(), kStart, 6);
  std::string damaged = Movie() + Record(kStart, 6);
  damaged.replace(damaged.find("moov"), 4, "mOOv");
  testing_support::WriteFile(card / "EVENT" / ("drr_" + Name(kStart)), damaged);
  const auto result = incident::ExportIncident(Request(front, 6.5, 2.5, 2.5, card / "incident"));
  ASSERT_EQ(result.status, incident::ExportStatus::Ok) << result.error;
  EXPECT_TRUE(fs::exists(card / "incident/front.mp4"));
  EXPECT_FALSE(fs::exists(card / "incident/rear.mp4"));
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("rear.mp4"), std::string::npos);
  EXPECT_EQ(
      RunCommand("cd " + ShellQuoted((card / "incident").string()) + " && sha256sum --quiet -c SHA256SUMS").status, 0);
}

}  // namespace

namespace {

TEST(IncidentExport, RecordingsThatCannotBeJoinedKeepToTheirOwnClip) {
  TempDir card;
  const fs::path middle = WritePair(card.path(), kStart, 6);
  // The next recording at another size: its stream cannot continue the clip's track.
  TempDir scratch;
  samplecard::ClipOptions other;
  other.seconds = kClipSeconds;
  other.width = 320;
  other.height = 240;
  other.keyframeInterval = 10;
  ASSERT_TRUE(samplecard::EncodeClip(scratch / "other.mp4", other));
  const std::string next = testing_support::ReadFile(scratch / "other.mp4") + Record(kStart + kClipSeconds, 2);
  testing_support::WriteFile(card / "EVENT" / ("drf_" + Name(kStart + kClipSeconds)), next);
  testing_support::WriteFile(card / "EVENT" / ("drr_" + Name(kStart + kClipSeconds)), next);

  const auto result = incident::ExportIncident(Request(middle, 10.0, 2.0, 5.0, card / "incident"));
  ASSERT_EQ(result.status, incident::ExportStatus::Ok) << result.error;
  const double length = Probe(card / "incident/front.mp4", "format=duration");
  // One track cannot hold both sizes: the clip keeps to the recording, and says so.
  EXPECT_NEAR(length, 4.0, 0.15);
  ASSERT_EQ(result.warnings.size(), 2u);
  EXPECT_EQ(result.warnings[0], "front.mp4: the recordings before or after could not be joined");
  EXPECT_EQ(result.warnings[1], "rear.mp4: the recordings before or after could not be joined");
  EXPECT_EQ(Codecs(card / "incident/front.mp4"), "h264\naac\n");
  EXPECT_EQ(
      RunCommand("cd " + ShellQuoted((card / "incident").string()) + " && sha256sum --quiet -c SHA256SUMS").status, 0);
}

}  // namespace

namespace {

// A recording the player would refuse is refused here too, before any clip is cut, with the
// player's own sentence for why.
TEST(IncidentExport, RefusesAnUnplayableRecordingWithItsCause) {
  std::string hevc = Movie();
  hevc.replace(hevc.rfind("avc1"), 4, "hvc1");  // the sample entry; the first is a brand
  const std::string whole = Movie() + Record(kStart, 6);
  struct Case {
    std::string name;
    std::string bytes;
    std::string cause;
  };
  const std::vector<Case> cases = {
      {"random bytes", std::string(4096, '\x5a'), "the file is not an MP4 recording"},
      {"cut off", whole.substr(0, whole.size() / 2), "the recording was cut off"},
      {"HEVC", hevc + Record(kStart, 6), "the video is HEVC (H.265)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir card;
    const fs::path front = card / "EVENT" / ("drf_" + Name(kStart));
    testing_support::WriteFile(front, c.bytes);
    const auto result = incident::ExportIncident(Request(front, 6.5, 2.5, 2.5, card / "incident"));
    EXPECT_EQ(result.status, incident::ExportStatus::Unreadable);
    EXPECT_NE(result.error.find(c.cause), std::string::npos) << result.error;
    EXPECT_FALSE(fs::exists(card / "incident"));
  }
}

}  // namespace
