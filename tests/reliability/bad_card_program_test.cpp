// The programs themselves on a card of damaged things, run as a script runs them: the manager
// opens every row of its list, the tracker the log folder and each damaged trip database. Each
// run ends with its state file and the documented exit code (0 when every action worked, 2
// otherwise), with what went wrong in a message, and a hang fails through the time limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tests/reliability/child_process.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tools/samplecard/bad_card.h"

namespace {

using samplecard::BadKind;
using testing_support::ShellQuoted;
namespace fs = std::filesystem;

struct ProgramRun {
  int status = -1;
  nlohmann::json state;
  std::string output;
};

class BadCardPrograms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing_support::TempDir;
    manifest_ = new samplecard::BadCardManifest(samplecard::WriteBadCard(dir_->path() / "card"));
  }
  static void TearDownTestSuite() {
    delete manifest_;
    delete dir_;
  }

  static ProgramRun Run(const char* program, const std::string& arguments) {
    const fs::path statePath = dir_->path() / "state.json";
    fs::remove(statePath);
    // In the scratch folder, and with its config folder there: the programs remember folders.
    const auto outcome = reliability_test::RunWithTimeLimit(
        "cd " + ShellQuoted(dir_->path().string()) +
            " && env XDG_CONFIG_HOME=" + ShellQuoted((dir_->path() / "config").string()) +
            " QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 BLACKBOX_TILE_URL=none " + ShellQuoted(program) +
            " " + arguments + " --state " + ShellQuoted(statePath.string()),
        120);
    EXPECT_NE(outcome.status, 124) << program << " " << arguments << " did not finish";
    ProgramRun run;
    run.status = outcome.status;
    run.output = outcome.err;
    std::ifstream file(statePath);
    std::ostringstream text;  // stays empty when the program wrote no state
    text << file.rdbuf();
    run.state = nlohmann::json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    EXPECT_FALSE(run.state.is_discarded()) << program << " " << arguments << " left no state: " << run.output;
    return run;
  }

  static const samplecard::BadCardManifest& Card() { return *manifest_; }

  // The crafted recording's time as the list shows it: drf_YYYYMMDD_hhmmss.mp4 gives hh:mm:ss.
  static std::string CraftedTime() {
    const std::string name = Card().Of(BadKind::CraftedRecording).front().path.stem().string();
    const std::string hhmmss = name.substr(name.size() - 6);
    return hhmmss.substr(0, 2) + ":" + hhmmss.substr(2, 2) + ":" + hhmmss.substr(4, 2);
  }
  static fs::path Root() { return dir_->path() / "card"; }

 private:
  static testing_support::TempDir* dir_;
  static samplecard::BadCardManifest* manifest_;
};

testing_support::TempDir* BadCardPrograms::dir_ = nullptr;
samplecard::BadCardManifest* BadCardPrograms::manifest_ = nullptr;

TEST_F(BadCardPrograms, TheManagerOpensEveryRowOrSaysWhyNot) {
  const ProgramRun listing = Run(KEL2CH_MANAGER_EXE, ShellQuoted(Root().string()));
  ASSERT_EQ(listing.status, 0) << listing.output;
  const int rows = listing.state["list"]["count"].get<int>();
  ASSERT_GT(rows, 0);
  for (int row = 0; row < rows; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const ProgramRun run = Run(KEL2CH_MANAGER_EXE, ShellQuoted(Root().string()) + " --row " + std::to_string(row));
    ASSERT_FALSE(run.state.is_discarded());
    if (row == 0) {
      // The sound recording sorts first and plays with its sensor record.
      EXPECT_EQ(run.status, 0) << run.output;
      EXPECT_EQ(run.state["noData"], 0);
    }
    if (run.status == 0) continue;
    EXPECT_EQ(run.status, 2) << run.output;
    // A recording that cannot be played is named in a message box.
    const auto& messages = run.state["messages"];
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().get<std::string>().find("drf_"), std::string::npos) << messages.back();
    // The recording crafted with half a million tracks never reaches GStreamer's demuxer (which
    // takes minutes over it): the check before opening refuses it and says why.
    if (listing.state["list"]["rows"][row][1] == CraftedTime()) {
      EXPECT_NE(messages.front().get<std::string>().find("more than 64 tracks"), std::string::npos) << messages;
    }
  }
}

TEST_F(BadCardPrograms, TheTrackerReadsTheLogsAndRefusesDamagedDatabases) {
  const ProgramRun logs = Run(KEL_TRACKER_EXE, ShellQuoted(Card().logFolder.string()));
  EXPECT_EQ(logs.status, 0) << logs.output;
  EXPECT_FALSE(logs.state["rows"].empty());
  for (BadKind kind : {BadKind::ExpandingDatabase, BadKind::TruncatedDatabase, BadKind::RandomDatabase}) {
    for (const samplecard::BadItem& item : Card().Of(kind)) {
      SCOPED_TRACE(item.what);
      const ProgramRun run = Run(KEL_TRACKER_EXE, ShellQuoted(item.path.string()));
      EXPECT_TRUE(run.status == 0 || run.status == 2) << run.status << ": " << run.output;
      EXPECT_TRUE(run.state["rows"].empty());
      ASSERT_FALSE(run.state["messages"].empty());
      EXPECT_NE(run.state["messages"].back().get<std::string>().find(item.path.filename().string()), std::string::npos);
    }
  }
}

}  // namespace
