// The read-only recording subcommands, run as a user or a script runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::CommandResult;
using testing_support::MakeCameraClip;
using testing_support::MakeFileOfSize;
using testing_support::ShellQuoted;
using testing_support::TempDir;
namespace fs = std::filesystem;

CommandResult Blackbox(const std::string& args) {
  return testing_support::RunCommand(std::string(BLACKBOX_EXE) + " " + args);
}

std::string UserData() {
  recording::UserDataContent content;
  const std::time_t start = 1268663130;  // 2010-03-15 14:25:30 UTC
  for (int i = 0; i < 4; ++i) content.times.push_back(static_cast<std::int32_t>(start + i));
  content.gpsSentences = {recording::FormatRmcSentence(start, 37.5333, 127.0353, 10.5, 90),
                          recording::FormatRmcSentence(start + 1, 0, 0, 0, 0, /*valid=*/false), "",
                          recording::FormatRmcSentence(start + 3, -33.5, -70.25, 1.25, 90)};
  content.gsensor = {{0.5f, -0.25f, 1.0f}, {0.1f, 0.2f, 0.3f}};
  return recording::BuildUserDataBox(content);
}

class RecordingCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeCameraClip(card / "DCIM/EVENT/drf_20100315_142530.mp4", UserData());
    MakeCameraClip(card / "DCIM/EVENT/drr_20100315_142530.mp4", UserData());
    MakeCameraClip(card / "Dx_0001/drf_20100315_142000.mp4");
    MakeFileOfSize(card / "Dx_0001/drf_20100315_143000.mp4", 512);
  }
  std::string Recording() const { return (card / "DCIM/EVENT/drf_20100315_142530.mp4").string(); }

  TempDir card;
};

TEST_F(RecordingCommands, ListKeepsStubsUnlessAskedToClean) {
  const CommandResult kept = Blackbox(ShellQuoted(card.path().string()));
  EXPECT_EQ(kept.status, 1) << "the subcommand is required";
  const CommandResult list = Blackbox("list " + ShellQuoted(card.path().string()));
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, "2010-03-15\t14:20:00\tCONTINUOUS\t" + (card / "Dx_0001/drf_20100315_142000.mp4").string() +
                          "\n" + "2010-03-15\t14:25:30\tSENS\t" + Recording() + "\n");
  EXPECT_NE(list.err.find("drf_20100315_143000.mp4"), std::string::npos) << "the stub is named";
  EXPECT_TRUE(fs::exists(card / "Dx_0001/drf_20100315_143000.mp4"));

  const CommandResult clean = Blackbox("list --clean " + ShellQuoted(card.path().string()));
  ASSERT_EQ(clean.status, 0);
  EXPECT_EQ(clean.out, list.out);
  EXPECT_FALSE(fs::exists(card / "Dx_0001/drf_20100315_143000.mp4"));
}

TEST_F(RecordingCommands, InfoDescribesTheRecording) {
  const CommandResult info = Blackbox("info --json " + ShellQuoted(Recording()));
  ASSERT_EQ(info.status, 0) << info.err;
  const auto json = nlohmann::json::parse(info.out);
  EXPECT_EQ(json["name"], "drf_20100315_142530.mp4");
  EXPECT_EQ(json["date"], "2010-03-15");
  EXPECT_EQ(json["time"], "14:25:30");
  EXPECT_EQ(json["cause"], "SENS");
  EXPECT_EQ(json["sortKey"], "drf_20100315_142530.mp4");
  EXPECT_EQ(json["companion"], (card / "DCIM/EVENT/drr_20100315_142530.mp4").string());
  EXPECT_EQ(json["structure"], 0);
  EXPECT_EQ(json["load"], 0);
  EXPECT_EQ(json["parse"], 0);
  EXPECT_EQ(json["timeSamples"], 4);
  EXPECT_EQ(json["gpsSamples"], 4);
  EXPECT_EQ(json["gsensorSamples"], 2);
  EXPECT_EQ(json["firstTime"], "2010-03-15 14:25:30");

  const auto bare = nlohmann::json::parse(
      Blackbox("info --json " + ShellQuoted((card / "Dx_0001/drf_20100315_142000.mp4").string())).out);
  EXPECT_EQ(bare["load"], 7);
  EXPECT_TRUE(bare["parse"].is_null());
  EXPECT_TRUE(bare["firstTime"].is_null());
  EXPECT_EQ(bare["gpsSamples"], 0);
}

TEST_F(RecordingCommands, GpsInEveryFormat) {
  const CommandResult json = Blackbox("gps " + ShellQuoted(Recording()));
  ASSERT_EQ(json.status, 0) << json.err;
  const auto rows = nlohmann::json::parse(json.out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0]["index"], 0);
  EXPECT_EQ(rows[0]["time"], "2010-03-15 14:25:30");
  EXPECT_NEAR(rows[0]["lat"].get<double>(), 37.5333, 1e-4);
  EXPECT_EQ(rows[0]["speedKnots"], 10.5);
  EXPECT_EQ(rows[0]["fix"], "ok");
  EXPECT_EQ(rows[1]["fix"], "nofix");
  EXPECT_EQ(rows[1]["lat"], -9.0);
  EXPECT_EQ(rows[2]["fix"], "none");
  EXPECT_LT(rows[3]["lon"].get<double>(), 0);

  const CommandResult csv = Blackbox("gps --format csv " + ShellQuoted(Recording()));
  ASSERT_EQ(csv.status, 0);
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "index,time,lat,lon,speedKnots,fix");
  EXPECT_NE(csv.out.find("\n2,2010-03-15 14:25:32,0,0,0,none\n"), std::string::npos) << csv.out;

  // gpsbabel reads the track back: the two valid fixes only.
  TempDir out;
  const CommandResult gpx = Blackbox("gps --format=gpx " + ShellQuoted(Recording()));
  ASSERT_EQ(gpx.status, 0);
  testing_support::WriteFile(out / "track.gpx", gpx.out);
  const CommandResult babel = testing_support::RunCommand(
      "gpsbabel -t -i gpx -f " + ShellQuoted((out / "track.gpx").string()) + " -x transform,wpt=trk -o unicsv -F -");
  ASSERT_EQ(babel.status, 0) << babel.err;
  EXPECT_NE(babel.out.find("37.53"), std::string::npos) << babel.out;
  EXPECT_NE(babel.out.find("-70.25"), std::string::npos) << babel.out;
  EXPECT_EQ(std::count(babel.out.begin(), babel.out.end(), '\n'), 3) << "header and two points:\n" << babel.out;
}

TEST_F(RecordingCommands, GSensorNamesTheAxes) {
  const CommandResult result = Blackbox("gsensor " + ShellQuoted(Recording()));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto rows = nlohmann::json::parse(result.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["v0"], 0.5);
  EXPECT_EQ(rows[0]["z"], 0.5);
  EXPECT_EQ(rows[0]["x"], -0.25);
  EXPECT_EQ(rows[0]["y"], 1.0);
  EXPECT_EQ(rows[1]["v0"], 0.1) << "floats print as written";
  const CommandResult csv = Blackbox("gsensor --format csv " + ShellQuoted(Recording()));
  EXPECT_EQ(csv.out, "index,v0,v1,v2,x,y,z\n0,0.5,-0.25,1,-0.25,1,0.5\n1,0.1,0.2,0.3,0.2,0.3,0.1\n");
}

TEST_F(RecordingCommands, FailuresHaveAnExitCodeAndOneLine) {
  const auto expectFailure = [](const CommandResult& result, int status) {
    EXPECT_EQ(result.status, status);
    EXPECT_TRUE(result.err.starts_with("blackbox: ")) << result.err;
    if (status == 2) {
      EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_TRUE(result.out.empty());
  };
  expectFailure(Blackbox("info --json " + ShellQuoted((card / "missing.mp4").string())), 2);
  expectFailure(Blackbox("gps " + ShellQuoted((card / "missing.mp4").string())), 2);
  expectFailure(Blackbox("gsensor " + ShellQuoted((card / "Dx_0001/drf_20100315_142000.mp4").string())), 2);
  expectFailure(Blackbox("list " + ShellQuoted((card / "missing").string())), 2);
  expectFailure(Blackbox("gps --format kml " + ShellQuoted(Recording())), 1);
  expectFailure(Blackbox("list"), 1);
  expectFailure(Blackbox("list --bogus " + ShellQuoted(card.path().string())), 1);
  expectFailure(Blackbox("frobnicate"), 1);
}

}  // namespace
