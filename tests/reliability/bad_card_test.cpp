// A card of damaged things (see tools/samplecard/bad_card.h): the command-line tool and the
// programs' loaders give a clear answer for each, with the documented exit codes, and never
// hang or run away with memory. Every piece of work runs in a child with a time limit, so a
// hang fails its test; the times are printed, not checked.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "manager/language/ini_file.h"
#include "manager/library/folder_scan.h"
#include "manager/library/last_folder_file.h"
#include "manager/recording/sensor_record.h"
#include "manager/recording/structure_check.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/temp_ms_file.h"
#include "tests/reliability/child_process.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tools/samplecard/bad_card.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/track_document.h"

namespace {

using reliability_test::ChildOutcome;
using reliability_test::CommandOutcome;
using reliability_test::RunInChild;
using samplecard::BadItem;
using samplecard::BadKind;
using testing_support::ShellQuoted;
namespace fs = std::filesystem;

// Far more than any answer needs, even under the sanitizers: reaching it means a hang.
constexpr unsigned kTimeLimit = 60;
// A loader that touches more than this for a card of a few megabytes has been talked into
// believing a size field.
constexpr long kMemoryLimitKiB = 768 * 1024;

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 2;

const BadKind kRecordingKinds[] = {BadKind::GoodRecording,     BadKind::TruncatedRecording, BadKind::EmptyRecording,
                                   BadKind::RandomRecording,   BadKind::CraftedRecording,   BadKind::HugeTables,
                                   BadKind::FolderRecording,   BadKind::FifoRecording,      BadKind::DeviceRecording,
                                   BadKind::LinkLoopRecording, BadKind::UnreadableRecording};

// Things that are no regular file one may read.
bool NotAFile(const BadItem& item) {
  switch (item.kind) {
    case BadKind::FolderRecording:
    case BadKind::FifoRecording:
    case BadKind::DeviceRecording:
    case BadKind::LinkLoopRecording: return true;
    case BadKind::UnreadableRecording: return ::geteuid() != 0;  // root reads it anyway
    default: return false;
  }
}

std::string Name(const BadItem& item) { return item.path.filename().string() + " (" + item.what + ")"; }

class BadCard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing_support::TempDir;
    manifest_ = new samplecard::BadCardManifest(samplecard::WriteBadCard(dir_->path() / "card"));
  }
  static void TearDownTestSuite() {
    std::printf("slowest answer: %.3f s (%s)\n", slowest_, slowestWhat_.c_str());
    delete manifest_;
    delete dir_;
  }

  static const samplecard::BadCardManifest& Card() { return *manifest_; }
  static fs::path Root() { return dir_->path() / "card"; }
  static fs::path Scratch() { return dir_->path(); }

  static std::vector<BadItem> Recordings() {
    std::vector<BadItem> found;
    for (BadKind kind : kRecordingKinds) {
      for (const BadItem& item : Card().Of(kind)) {
        // The rear channel's file is opened through its front one.
        if (item.path.filename().string().starts_with("drf_")) found.push_back(item);
      }
    }
    return found;
  }

  static void Note(double seconds, const std::string& what) {
    if (seconds > slowest_) {
      slowest_ = seconds;
      slowestWhat_ = what;
    }
  }

  // `blackbox ARGS`; a hang fails the test.
  static CommandOutcome Blackbox(const std::string& args) {
    const CommandOutcome outcome =
        reliability_test::RunWithTimeLimit(std::string(BLACKBOX_EXE) + " " + args, kTimeLimit);
    EXPECT_NE(outcome.status, 124) << "blackbox " << args << " did not finish";
    Note(outcome.seconds, "blackbox " + args);
    return outcome;
  }

  // A loader in a child process: it finishes in time, within memory, and its result comes back.
  static int Loader(const std::string& what, const std::function<int()>& body) {
    const ChildOutcome outcome = RunInChild(body, kTimeLimit);
    EXPECT_TRUE(outcome.finished) << what << ": " << outcome.Describe();
    EXPECT_LT(outcome.peakKiB, kMemoryLimitKiB) << what << " used " << outcome.peakKiB / 1024 << " MiB";
    Note(outcome.seconds, what);
    return outcome.code;
  }

  static void ExpectOneLineOnStderr(const CommandOutcome& outcome, const std::string& what) {
    EXPECT_FALSE(outcome.err.empty()) << what;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << what << ": " << outcome.err;
  }

 private:
  static testing_support::TempDir* dir_;
  static samplecard::BadCardManifest* manifest_;
  static double slowest_;
  static std::string slowestWhat_;
};

testing_support::TempDir* BadCard::dir_ = nullptr;
samplecard::BadCardManifest* BadCard::manifest_ = nullptr;
double BadCard::slowest_ = 0;
std::string BadCard::slowestWhat_;

TEST_F(BadCard, ListShowsTheRecordingFilesAndSkipsEverythingElse) {
  const CommandOutcome list = Blackbox("list " + ShellQuoted(Root().string()));
  ASSERT_EQ(list.status, kExitOk) << list.err;
  std::set<std::string> listed;
  for (std::size_t at = 0; at < list.out.size();) {
    const std::size_t end = list.out.find('\n', at);
    const std::string line = list.out.substr(at, end - at);
    listed.insert(line.substr(line.rfind('\t') + 1));
    at = end == std::string::npos ? list.out.size() : end + 1;
  }
  for (const BadItem& item : Card().Of(BadKind::GoodRecording)) {
    if (item.path.filename().string().starts_with("drf_")) {
      EXPECT_TRUE(listed.contains(item.path.string())) << Name(item);
    }
  }
  for (const BadItem& item : Recordings()) {
    if (NotAFile(item) && item.kind != BadKind::UnreadableRecording) {
      EXPECT_FALSE(listed.contains(item.path.string())) << Name(item) << " is no recording";
    }
  }
}

TEST_F(BadCard, InfoAndGpsAnswerForEveryRecording) {
  for (const BadItem& item : Recordings()) {
    SCOPED_TRACE(Name(item));
    const std::string path = ShellQuoted(item.path.string());
    const CommandOutcome info = Blackbox("info --json " + path);
    const CommandOutcome gps = Blackbox("gps --format json " + path);
    if (NotAFile(item)) {
      EXPECT_EQ(info.status, kExitUnreadable);
      EXPECT_EQ(gps.status, kExitUnreadable);
      ExpectOneLineOnStderr(info, "info");
      ExpectOneLineOnStderr(gps, "gps");
      continue;
    }
    ASSERT_EQ(info.status, kExitOk) << info.err;
    const auto json = nlohmann::json::parse(info.out);
    // Without a GPS table there is nothing to list, which gps reports as unreadable.
    if (json["parse"] == 0) {
      EXPECT_EQ(gps.status, kExitOk) << gps.err;
    } else {
      EXPECT_EQ(gps.status, kExitUnreadable);
      ExpectOneLineOnStderr(gps, "gps");
    }
    switch (item.kind) {
      case BadKind::GoodRecording:
        EXPECT_EQ(json["structure"], 0);
        EXPECT_EQ(json["parse"], 0);
        EXPECT_EQ(json["gpsSamples"], 10);
        break;
      case BadKind::EmptyRecording:
      case BadKind::RandomRecording: EXPECT_EQ(json["structure"], -1) << "broken"; break;
      case BadKind::HugeTables:
        EXPECT_EQ(json["parse"], 0);
        EXPECT_EQ(json["gsensorSamples"], 1) << "no more samples than the file holds";
        break;
      default: break;
    }
  }
}

// Finding the recordings of a moment reads every recording's headers: none of them may hang it
// or make it lie about a duration.
TEST_F(BadCard, FindAnswersPromptlyWithSaneDurations) {
  const CommandOutcome found =
      Blackbox("find " + ShellQuoted(Root().string()) + " --time '2024-05-13 09:00:05' --utc --json");
  ASSERT_TRUE(found.status == kExitOk || found.status == kExitUnreadable) << found.err;
  const auto json = nlohmann::json::parse(found.out);
  for (const auto& match : json["matches"]) EXPECT_LT(match["duration_seconds"].get<double>(), 86400) << match;
}

// Every recording, the one crafted with half a million tracks among them, is opened by the
// player or refused before GStreamer's demuxer sees it, with the reason on one line.
TEST_F(BadCard, FramePrintAndPlayAnswerForEveryRecording) {
  const std::string out = ShellQuoted((Scratch() / "out").string());
  for (const BadItem& item : Recordings()) {
    SCOPED_TRACE(Name(item));
    const std::string path = ShellQuoted(item.path.string());
    for (const std::string& command : {"frame " + path + " --at 0 -o " + out + ".jpg",
                                       "print " + path + " --at 0 -o " + out + ".pdf", "play " + path + " --rate 4"}) {
      const CommandOutcome run = Blackbox(command);
      if (item.kind == BadKind::GoodRecording) {
        EXPECT_EQ(run.status, kExitOk) << command << ": " << run.err;
        continue;
      }
      if (run.status == kExitOk) continue;  // a recording cut inside its sensor record still plays
      EXPECT_EQ(run.status, kExitUnreadable) << command;
      ExpectOneLineOnStderr(run, command);
      if (item.kind == BadKind::CraftedRecording) {
        EXPECT_NE(run.err.find("more than 64 tracks"), std::string::npos) << run.err;
      }
    }
  }
}

TEST_F(BadCard, TripsAndSaveReadTheSoundLogAmongTheDamagedOnes) {
  const std::string logs = ShellQuoted(Card().logFolder.string());
  const CommandOutcome trips = Blackbox("trips --json " + logs);
  ASSERT_EQ(trips.status, kExitOk) << trips.err;
  EXPECT_FALSE(nlohmann::json::parse(trips.out).empty());
  const CommandOutcome points = Blackbox("points --json " + logs);
  ASSERT_EQ(points.status, kExitOk) << points.err;
  EXPECT_GE(nlohmann::json::parse(points.out).size(), 900u) << "every fix of the sound log";

  const fs::path saved = Scratch() / "saved.KEL";
  const CommandOutcome save = Blackbox("save " + logs + " " + ShellQuoted(saved.string()));
  ASSERT_EQ(save.status, kExitOk) << save.err;
  const CommandOutcome reloaded = Blackbox("trips --json " + ShellQuoted(saved.string()));
  ASSERT_EQ(reloaded.status, kExitOk) << reloaded.err;
  EXPECT_EQ(nlohmann::json::parse(reloaded.out).size(), nlohmann::json::parse(trips.out).size());
}

TEST_F(BadCard, DamagedTripDatabasesAreRefusedWithAReason) {
  for (BadKind kind : {BadKind::ExpandingDatabase, BadKind::TruncatedDatabase, BadKind::RandomDatabase}) {
    for (const BadItem& item : Card().Of(kind)) {
      SCOPED_TRACE(Name(item));
      const std::string path = ShellQuoted(item.path.string());
      const CommandOutcome trips = Blackbox("trips " + path);
      EXPECT_EQ(trips.status, kExitUnreadable);
      ExpectOneLineOnStderr(trips, "trips");
      const fs::path out = Scratch() / "never.KEL";
      const CommandOutcome save = Blackbox("save " + path + " " + ShellQuoted(out.string()));
      EXPECT_EQ(save.status, kExitUnreadable);
      EXPECT_FALSE(fs::exists(out));
    }
  }
}

TEST_F(BadCard, TheManagersLoadersAnswerForEveryRecording) {
  for (const BadItem& item : Recordings()) {
    SCOPED_TRACE(Name(item));
    const std::string path = item.path.string();
    const int structure = Loader("structure check of " + Name(item),
                                 [&] {
                                   return recording::CheckRecordingStructure(path) + 2;  // -2..0 as 0..2
                                 }) -
                          2;
    const int loaded = Loader("sensor record of " + Name(item), [&] {
      recording::SensorRecord record;
      return recording::LoadSensorRecord(path, record) ? 1 : 0;
    });
    if (NotAFile(item)) {
      EXPECT_EQ(structure, recording::kStructureCannotOpen);
      EXPECT_EQ(loaded, 0);
    }
    if (item.kind == BadKind::GoodRecording) {
      EXPECT_EQ(structure, recording::kStructureOk);
      EXPECT_EQ(loaded, 1);
    }
  }
  const int listed = Loader("recording list of the card", [&] {
    return static_cast<int>(library::BuildRecordingList(Root().string(), {}).paths().size());
  });
  EXPECT_GT(listed, 0);
}

TEST_F(BadCard, SettingsAndFolderFilesThatAreNoFilesReadAsMissing) {
  const fs::path fifo = Card().Of(BadKind::FifoSetupFile).front().path;
  const fs::path device = Card().Of(BadKind::DeviceRecording).front().path;
  for (const fs::path& path : {fifo, device}) {
    SCOPED_TRACE(path.string());
    const int setupRead = Loader("Setup.ini", [&] {
      setup::MemorySetupControls controls(setup::kDualProfile);
      return static_cast<int>(setup::ReadSetupFile(setup::kDualProfile, path, controls));
    });
    EXPECT_EQ(setupRead, static_cast<int>(setup::SetupReadResult::Unreadable));
    EXPECT_EQ(Loader("TempMO.ini", [&] { return library::ReadLastFolder(path) ? 1 : 0; }), 0);
    EXPECT_EQ(Loader("TempMS.ini", [&] { return setup::ReadTempMsFile(path) ? 1 : 0; }), 0);
    EXPECT_EQ(Loader("language file",
                     [&] {
                       return language::IniFile(path).ReadString("English", "SEARCH_FOLDER", "fallback") == "fallback"
                                  ? 1
                                  : 0;
                     }),
              1);
  }
}

TEST_F(BadCard, TheTrackersLoadersAnswerForTheLogsAndEveryDatabase) {
  const auto open = [&](const fs::path& path) {
    return Loader("tracker opening " + path.string(), [&] {
      tracker::TrackDocument document;
      tracker::CallbackScanHost host;
      return static_cast<int>(tracker::Open(path, tracker::TimeZoneOffsetAt(tracker::kDefaultTimeZoneIndex),
                                            tracker::kCurrentProfile.database_magic, document, host));
    });
  };
  EXPECT_EQ(open(Card().logFolder), static_cast<int>(tracker::OpenResult::kRowsReady));
  for (BadKind kind : {BadKind::ExpandingDatabase, BadKind::TruncatedDatabase, BadKind::RandomDatabase}) {
    for (const BadItem& item : Card().Of(kind)) {
      EXPECT_EQ(open(item.path), static_cast<int>(tracker::OpenResult::kRefusedFile)) << Name(item);
    }
  }
}

// Last: the scan below deletes the card's stubs.
TEST_F(BadCard, LinksOffTheCardAreNeitherListedNorWrittenNorDeletedThrough) {
  std::map<fs::path, std::string> outside;
  for (const auto& entry : fs::recursive_directory_iterator(Card().outside)) {
    if (entry.is_regular_file()) outside[entry.path()] = testing_support::ReadFile(entry.path());
  }
  ASSERT_FALSE(outside.empty());

  const CommandOutcome list = Blackbox("list " + ShellQuoted(Root().string()));
  ASSERT_EQ(list.status, kExitOk) << list.err;
  EXPECT_EQ(list.out.find("archive"), std::string::npos) << list.out;
  EXPECT_EQ(list.out.find("loop"), std::string::npos) << "a folder is visited once: " << list.out;
  for (const BadItem& item : Card().Of(BadKind::OutsideFileLink)) {
    EXPECT_EQ(list.out.find(item.path.string()), std::string::npos) << Name(item);
  }
  const CommandOutcome clock = Blackbox("clock " + ShellQuoted(Root().string()) + " '2024-05-13 10:00:00'");
  EXPECT_EQ(clock.status, kExitUnreadable);
  ExpectOneLineOnStderr(clock, "clock");
  EXPECT_NE(clock.err.find("_D9SetTimeSetting.dx_"), std::string::npos) << "the message names the file";

  EXPECT_GT(Loader("recording list with stub deletion",
                   [&] { return static_cast<int>(library::BuildRecordingList(Root().string()).GetSize()); }),
            0);
  for (const auto& [path, bytes] : outside) {
    ASSERT_TRUE(fs::exists(path)) << path;
    EXPECT_EQ(testing_support::ReadFile(path), bytes) << path;
  }
}

}  // namespace
