// Cards laid out to do harm: links into and out of the card, link loops and fans, FIFOs, and
// names holding markup, line breaks, tabs or bytes that are no UTF-8. Each goes through the
// listing of the command-line tool (text and JSON), the folder scan with stub deletion on, and
// the writes of the settings and clock files. Nothing outside the card may change, every
// recording is listed once, and every row of the listing stays one row.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/escaped_text.h"
#include "manager/library/folder_scan.h"
#include "manager/setup/clock_file.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/settings_path.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"
#include "tests/reliability/child_process.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using common::CardWrite;
using testing_support::MakeFileOfSize;
using testing_support::ShellQuoted;
using testing_support::WriteFile;

constexpr const char* kGood = "drf_20240101_000000.mp4";  // every card has this one recording at its root

struct Layout {
  const char* what;
  std::function<void(const fs::path& card, const fs::path& outside)> make;
  std::vector<std::string> listed;  // below the card, besides kGood (whose row may come by a link's name)
  std::size_t rows = 0;             // 0: kGood and `listed`
  CardWrite settings = CardWrite::kWritten;
  CardWrite clock = CardWrite::kWritten;
};

void Link(const fs::path& target, const fs::path& at) {
  fs::create_directories(at.parent_path());
  fs::create_symlink(target, at);
}

std::vector<Layout> Layouts() {
  return {
      {"nothing hostile", [](const fs::path&, const fs::path&) {}, {}},
      {"a folder link off the card to a stub and a recording",
       [](const fs::path& card, const fs::path& outside) { Link(outside / "videos", card / "EVENT/archive"); },
       {}},
      {"a recording linked off the card",
       [](const fs::path& card, const fs::path& outside) {
         Link(outside / "videos/drf_20240101_000500.mp4", card / "EVENT/drf_20240101_000100.mp4");
       },
       {}},
      {"a stub linked off the card",
       [](const fs::path& card, const fs::path& outside) {
         Link(outside / "videos/drf_20240101_000400.mp4", card / "drf_20240101_000100.mp4");
       },
       {}},
      {"a recording linked on the card lists once",
       [](const fs::path& card, const fs::path&) {
         Link(fs::path("..") / kGood, card / "EVENT/drf_20240101_000200.mp4");
       },
       {},
       1},
      {"a link to the card's parent folder",
       [](const fs::path& card, const fs::path&) { Link("..", card / "EVENT/up"); },
       {}},
      {"a link to the card itself, from below",
       [](const fs::path& card, const fs::path&) { Link("..", card / "A/up"); },
       {}},
      {"a hundred links to their own folder",
       [](const fs::path& card, const fs::path&) {
         for (int i = 0; i < 100; ++i) Link(".", card / ("loop" + std::to_string(i)));
       },
       {}},
      {"a fan of folder links to one folder",
       [](const fs::path& card, const fs::path&) {
         MakeFileOfSize(card / "EVENT/drf_20240101_000300.mp4", 4096);
         for (int i = 0; i < 20; ++i) Link("EVENT", card / ("fan" + std::to_string(i)));
       },
       {},
       2},
      {"a link loop named like a recording and like a folder",
       [](const fs::path& card, const fs::path&) {
         Link("drf_20240101_000700.mp4", card / "drf_20240101_000600.mp4");
         Link("drf_20240101_000600.mp4", card / "drf_20240101_000700.mp4");
         Link("B", card / "A");
         Link("A", card / "B");
       },
       {}},
      {"a FIFO named like a recording",
       [](const fs::path& card, const fs::path&) {
         ASSERT_EQ(::mkfifo((card / "drf_20240101_000800.mp4").c_str(), 0644), 0);
       },
       {}},
      {"names with markup, a line break, a tab and a stray byte",
       [](const fs::path& card, const fs::path&) {
         for (const char* name : {"drf_<a href='x'>0101.mp4", "drf_2024\n0101_000900.mp4", "drf_2024\t0101_001000.mp4",
                                  "drf_2024\xff"
                                  "0101_001100.mp4",
                                  "drf_2024\r\x1b[2J_001200.mp4"}) {
           MakeFileOfSize(card / "EVENT" / name, 2048);
         }
       },
       {"EVENT/drf_<a href='x'>0101.mp4", "EVENT/drf_2024\n0101_000900.mp4", "EVENT/drf_2024\t0101_001000.mp4",
        "EVENT/drf_2024\xff"
        "0101_001100.mp4",
        "EVENT/drf_2024\r\x1b[2J_001200.mp4"}},
      {"the settings file linked off the card",
       [](const fs::path& card, const fs::path& outside) { Link(outside / "victim.txt", card / "SETUP/Setup.ini"); },
       {},
       0,
       CardWrite::kLink},
      {"the settings file linked on the card",
       [](const fs::path& card, const fs::path&) { Link("../notes.txt", card / "SETUP/Setup.ini"); },
       {},
       0,
       CardWrite::kLink},
      {"the settings folder linked off the card",
       [](const fs::path& card, const fs::path& outside) {
         fs::remove_all(card / "SETUP");
         Link(outside, card / "SETUP");
       },
       {},
       0,
       CardWrite::kLink},
      {"a dangling link as the clock file",
       [](const fs::path& card, const fs::path& outside) { Link(outside / "new.txt", card / "_D9SetTimeSetting.dx_"); },
       {},
       0,
       CardWrite::kWritten,
       CardWrite::kLink},
      {"the clock file linked off the card",
       [](const fs::path& card, const fs::path& outside) {
         Link(outside / "victim.txt", card / "_D9SetTimeSetting.dx_");
       },
       {},
       0,
       CardWrite::kWritten,
       CardWrite::kLink},
      {"the settings file as a FIFO",
       [](const fs::path& card, const fs::path&) { ASSERT_EQ(::mkfifo((card / "SETUP/Setup.ini").c_str(), 0644), 0); },
       {},
       0,
       CardWrite::kFailed},
  };
}

// Every file below `folder`, links as links, with what it holds.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    files[name] = entry.is_symlink()        ? "-> " + fs::read_symlink(entry.path()).string()
                  : entry.is_regular_file() ? testing_support::ReadFile(entry.path())
                                            : "folder";
  }
  return files;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

TEST(HostileCard, NothingOffTheCardIsListedWrittenOrDeletedAndEveryRowStaysOneRow) {
  for (const Layout& layout : Layouts()) {
    SCOPED_TRACE(layout.what);
    testing_support::TempDir dir;
    const fs::path card = dir / "card";
    const fs::path outside = dir / "outside";
    MakeFileOfSize(card / kGood, 4096);
    MakeFileOfSize(card / "drf_20240101_000050.mp4", 100);  // the card's own stub: deleted
    WriteFile(card / "notes.txt", "the card's notes");
    fs::create_directories(card / "SETUP");
    MakeFileOfSize(outside / "videos/drf_20240101_000400.mp4", 600);
    MakeFileOfSize(outside / "videos/drf_20240101_000500.mp4", 4096);
    WriteFile(outside / "victim.txt", "not the card's");
    layout.make(card, outside);
    const auto outsideBefore = Snapshot(outside);
    const std::string notesBefore = testing_support::ReadFile(card / "notes.txt");

    std::vector<std::string> expected = {(card / kGood).string()};
    for (const std::string& name : layout.listed) expected.push_back((card / name).string());
    const std::size_t rows = layout.rows != 0 ? layout.rows : expected.size();

    const auto text =
        reliability_test::RunWithTimeLimit(std::string(BLACKBOX_EXE) + " list " + ShellQuoted(card.string()), 30);
    ASSERT_EQ(text.status, 0) << text.err;
    const std::vector<std::string> lines = Lines(text.out);
    EXPECT_EQ(lines.size(), rows) << text.out;
    std::vector<std::string> shown;
    for (const std::string& line : lines) {
      EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 3) << line;
      shown.push_back(line.substr(line.rfind('\t') + 1));
    }
    for (const std::string& path : expected) {
      if (layout.rows == 0) {
        EXPECT_NE(std::find(shown.begin(), shown.end(), common::EscapedForListing(path)), shown.end()) << path;
      }
    }

    const auto json = reliability_test::RunWithTimeLimit(
        std::string(BLACKBOX_EXE) + " list --json " + ShellQuoted(card.string()), 30);
    ASSERT_EQ(json.status, 0) << json.err;
    const auto parsed = nlohmann::json::parse(json.out, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << json.out;
    EXPECT_EQ(parsed.size(), rows);

    // The manager's scan, which deletes stubs.
    const auto list = library::BuildRecordingList(card.string());
    EXPECT_EQ(list.GetSize(), rows);
    EXPECT_FALSE(fs::exists(card / "drf_20240101_000050.mp4"));

    setup::MemorySetupControls controls(setup::kDualProfile);
    setup::ApplyDefaults(setup::kDualProfile, controls);
    const std::string settings = setup::SettingsFilePath(card.string());
    EXPECT_EQ(
        setup::WriteFactoryFile(setup::kDualProfile, settings, setup::DefaultSettings(setup::kDualProfile, false)),
        layout.settings);
    EXPECT_EQ(setup::WriteApplyFile(setup::kDualProfile, settings, controls), layout.settings);
    EXPECT_EQ(setup::WriteClockFile(setup::kDualProfile, card, {2024, 1, 1, 0, 0, 0}), layout.clock);

    EXPECT_EQ(Snapshot(outside), outsideBefore);
    EXPECT_EQ(testing_support::ReadFile(card / "notes.txt"), notesBefore);
  }
}

TEST(HostileCard, CardWritesStayBelowTheCardFolder) {
  testing_support::TempDir dir;
  const fs::path card = dir / "card";
  fs::create_directories(card / "SETUP");
  WriteFile(dir / "victim.txt", "not the card's");
  Link(card, dir / "card-link");
  const struct {
    fs::path base, file;
    common::CardFolders folders;
    CardWrite outcome;
  } cases[] = {
      {card, card / "SETUP/Setup.ini", common::CardFolders::kExisting, CardWrite::kWritten},
      {card, "SETUP/Relative.ini", common::CardFolders::kExisting, CardWrite::kWritten},
      {dir / "card-link", dir / "card-link/clock.txt", common::CardFolders::kExisting, CardWrite::kWritten},
      {card, card / "NEW/deeper/file.ini", common::CardFolders::kCreate, CardWrite::kWritten},
      {card, card / "MISSING/file.ini", common::CardFolders::kExisting, CardWrite::kFailed},
      {card, card / "../victim.txt", common::CardFolders::kExisting, CardWrite::kOutside},
      {card, card / "SETUP/../../victim.txt", common::CardFolders::kExisting, CardWrite::kOutside},
      {card, "../victim.txt", common::CardFolders::kExisting, CardWrite::kOutside},
      {card, dir / "victim.txt", common::CardFolders::kExisting, CardWrite::kOutside},
      {card, card, common::CardFolders::kExisting, CardWrite::kOutside},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.string());
    EXPECT_EQ(common::WriteCardFileAtomically(c.base, c.file, "x", c.folders), c.outcome);
  }
  EXPECT_EQ(testing_support::ReadFile(dir / "victim.txt"), "not the card's");
  EXPECT_EQ(testing_support::ReadFile(card / "NEW/deeper/file.ini"), "x");
  EXPECT_EQ(testing_support::ReadFile(card / "clock.txt"), "x");
  const std::string message = common::CardWriteMessage(CardWrite::kLink, card / "SETUP/Setup.ini");
  EXPECT_EQ(message.rfind((card / "SETUP/Setup.ini").string(), 0), 0u) << "the message names the file";
}

}  // namespace
