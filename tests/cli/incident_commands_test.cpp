// blackbox events and blackbox incident, run as a user or a script runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CommandResult;
using testing_support::MakeCameraClip;
using testing_support::RunCommand;
using testing_support::ShellQuoted;
using testing_support::TempDir;

CommandResult Blackbox(const std::string& args) { return RunCommand(std::string(BLACKBOX_EXE) + " " + args); }

// Two seconds of record: a fix and ten G samples a second, at rest but for one jolt of `g` on
// the second axis at sample `at` (none for a negative `at`).
std::string Record(float g, int at) {
  recording::UserDataContent content;
  const std::time_t start = 1268663130;  // 2010-03-15 14:25:30 UTC
  for (int s = 0; s < 2; ++s) {
    content.times.push_back(static_cast<std::int32_t>(start + s));
    content.gpsSentences.push_back(recording::FormatRmcSentence(start + s, 37.5, 127.0, 20, 90));
  }
  for (int i = 0; i < 20; ++i) content.gsensor.push_back({1.0f, i == at ? g : 0.0f, 0.1f});
  return recording::BuildUserDataBox(content);
}

TEST(EventsCommand, ListsTheImpactsLargestFirst) {
  TempDir card;
  MakeCameraClip(card / "CONTINUOUS/drf_20100315_142000.mp4", Record(0.5f, 4));
  MakeCameraClip(card / "EVENT/drf_20100315_142530.mp4", Record(-1.8f, 15));
  MakeCameraClip(card / "MANUAL/drf_20100315_143000.mp4", Record(1.2f, 10));
  MakeCameraClip(card / "CONTINUOUS/drf_20100315_143500.mp4");  // no record
  struct Case {
    std::string options;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"", {"EVENT/drf_20100315_142530.mp4", "MANUAL/drf_20100315_143000.mp4", "CONTINUOUS/drf_20100315_142000.mp4"}},
      {"--min-g 1", {"EVENT/drf_20100315_142530.mp4", "MANUAL/drf_20100315_143000.mp4"}},
      {"--min-g 5", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const CommandResult events = Blackbox("events --json " + c.options + " " + ShellQuoted(card.path().string()));
    ASSERT_EQ(events.status, 0) << events.err;
    const auto json = nlohmann::json::parse(events.out);
    std::vector<std::string> names;
    for (const auto& item : json) names.push_back(fs::relative(item["path"].get<std::string>(), card.path()).string());
    EXPECT_EQ(names, c.names);
    EXPECT_NE(events.err.find("drf_20100315_143500.mp4"), std::string::npos)
        << "the recording without a record is named";
  }
  const auto json = nlohmann::json::parse(Blackbox("events --json " + ShellQuoted(card.path().string())).out);
  EXPECT_NEAR(json[0]["g"].get<double>(), 1.8, 1e-5);
  EXPECT_NEAR(json[0]["seconds"].get<double>(), 1.5, 0.02);
  EXPECT_EQ(json[0]["time"], "2010-03-15 14:25:31");
  EXPECT_EQ(json[0]["cause"], "SENS");
  EXPECT_EQ(Blackbox("events --min-g x " + ShellQuoted(card.path().string())).status, 1);
  EXPECT_EQ(Blackbox("events " + ShellQuoted((card / "nowhere").string())).status, 2);
}

TEST(IncidentCommand, WritesAFolderThatChecksOut) {
  TempDir card;
  const fs::path front = card / "EVENT/drf_20100315_142530.mp4";
  MakeCameraClip(front, Record(-1.8f, 15));
  MakeCameraClip(card / "EVENT/drr_20100315_142530.mp4", Record(-1.8f, 15));
  MakeCameraClip(card / "EVENT/drf_20100315_143000.mp4");  // no sensor record
  const fs::path folder = card / "evidence";

  const CommandResult made =
      Blackbox("incident " + ShellQuoted(front.string()) + " --at 1 -o " + ShellQuoted(folder.string()));
  ASSERT_EQ(made.status, 0) << made.err;
  for (const char* file :
       {"front.mp4", "rear.mp4", "page.pdf", "track.gpx", "track.kml", "gsensor.csv", "summary.json", "SHA256SUMS"}) {
    EXPECT_TRUE(fs::is_regular_file(folder / file)) << file;
  }
  EXPECT_EQ(
      RunCommand("pdftotext " + ShellQuoted((folder / "page.pdf").string()) + " - | grep -c 'Black box image print.'")
          .out,
      "1\n");
  const CommandResult check = RunCommand("cd " + ShellQuoted(folder.string()) + " && sha256sum -c SHA256SUMS");
  EXPECT_EQ(check.status, 0) << check.out << check.err;

  // A folder with files in it is left alone without --force.
  const CommandResult again =
      Blackbox("incident " + ShellQuoted(front.string()) + " --at 1 -o " + ShellQuoted(folder.string()));
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos);

  // Without a sensor record: clips and hashes still, and the summary says there is no position.
  const fs::path bare = card / "bare";
  const CommandResult noRecord = Blackbox("incident " + ShellQuoted((card / "EVENT/drf_20100315_143000.mp4").string()) +
                                          " --profile park --at 0.5 -o " + ShellQuoted(bare.string()));
  ASSERT_EQ(noRecord.status, 0) << noRecord.err;
  EXPECT_FALSE(fs::exists(bare / "rear.mp4")) << "the park camera has one channel";
  const auto summary = nlohmann::json::parse(testing_support::ReadFile(bare / "summary.json"));
  EXPECT_TRUE(summary["moment"]["position"].is_null());
  EXPECT_EQ(summary["moment"]["noPosition"], "the recording holds no sensor record");
  EXPECT_EQ(RunCommand("cd " + ShellQuoted(bare.string()) + " && sha256sum --quiet -c SHA256SUMS").status, 0);

  EXPECT_EQ(Blackbox("incident " + ShellQuoted(front.string()) + " --at 9 -o " + ShellQuoted((card / "late").string()))
                .status,
            1)
      << "a moment past the end";
  EXPECT_FALSE(fs::exists(card / "late"));
}

}  // namespace
