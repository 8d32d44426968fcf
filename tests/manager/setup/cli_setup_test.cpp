#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "manager/setup/mount_point.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

Outcome Blackbox(const TempDir& dir, const std::vector<std::string>& args) {
  std::string command = Quoted(BLACKBOX_EXE);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  const auto err_file = dir / "stderr.txt";
  command += " 2>" + Quoted(err_file.string());
  Outcome run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFile(err_file);
  std::filesystem::remove(err_file);
  return run;
}

std::string Golden(std::string_view name) { return ReadFile(std::filesystem::path(SETUP_GOLDEN_DIR) / name); }

// A failure is one line on stderr and nothing on stdout.
void ExpectFailure(const Outcome& run, int status) {
  EXPECT_EQ(run.status, status);
  EXPECT_TRUE(run.out.empty()) << run.out;
  ASSERT_FALSE(run.err.empty());
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

TEST(SetupCommand, ShowGivesTheDefaultsWithoutAFile) {
  TempDir dir;
  const std::string card = (dir / "card").string();
  std::filesystem::create_directories(card);
  const Outcome run = Blackbox(dir, {"setup", "show", card, "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"TimeZone\": 71"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"TriggerLevelZ\": 7"), std::string::npos);
  EXPECT_EQ(run.out.find("TVOut"), std::string::npos);

  const Outcome park = Blackbox(dir, {"setup", "show", card, "--profile", "park", "--json"});
  EXPECT_NE(park.out.find("\"ParkTriggerLevelX\": 8"), std::string::npos) << park.out;
  EXPECT_NE(park.out.find("\"TVOut\": 0"), std::string::npos);
}

TEST(SetupCommand, FactoryWritesTheProfilesDefaults) {
  TempDir dir;
  const std::string card = (dir / "card").string();
  std::filesystem::create_directories(card);
  Outcome run = Blackbox(dir, {"setup", "factory", card});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "card/SETUP/Setup.ini"), Golden("dual_factory.ini"));
  EXPECT_NE(run.out.find("Quality = 2 (High)"), std::string::npos) << run.out;

  run = Blackbox(dir, {"setup", "factory", card, "--profile=park"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "card/SETUP/Setup.ini"), Golden("park_factory.ini"));
}

TEST(SetupCommand, ApplyChangesOnlyTheNamedValues) {
  TempDir dir;
  const std::string card = (dir / "card").string();
  WriteFile(dir / "card/SETUP/Setup.ini", "Quality = 1 ;\r\nTimeZone = 30 ;\r\n");
  const Outcome run = Blackbox(
      dir, {"setup", "apply", card, "--profile", "brand", "DST=1", "TriggerLevelX=18", "Brightness=9", "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string text = ReadFile(dir / "card/SETUP/Setup.ini");
  EXPECT_TRUE(text.starts_with("#\r\n# Ryn BlackBox Setting Information\r\n"));
  EXPECT_NE(text.find("Quality         = 1 ;\r\n"), std::string::npos);  // kept from the file
  EXPECT_NE(text.find("TimeZone        = 30 ;\r\n"), std::string::npos);
  EXPECT_NE(text.find("DST        = 1 ;\r\n"), std::string::npos);
  EXPECT_NE(text.find("TriggerLevelX    = 0.9 ;\r\n"), std::string::npos);
  EXPECT_NE(text.find("Brightness      = 9\r\n"), std::string::npos);
  EXPECT_NE(run.out.find("\"Brightness\": 9"), std::string::npos) << run.out;
}

TEST(SetupCommand, ApplyTakesLevelsAsTheLevelEditDoes) {
  TempDir dir;
  const std::string card = (dir / "card").string();
  std::filesystem::create_directories(dir / "card/SETUP");
  // The dual edit accepts up to 30 and the slider stops at 20; the others accept 20 only.
  EXPECT_EQ(Blackbox(dir, {"setup", "apply", card, "TriggerLevelX=25"}).status, 0);
  EXPECT_NE(ReadFile(dir / "card/SETUP/Setup.ini").find("TriggerLevelX    = 1.00 ;"), std::string::npos);
  ExpectFailure(Blackbox(dir, {"setup", "apply", card, "--profile", "park", "TriggerLevelX=25"}), 1);
}

TEST(SetupCommand, BadArgumentsChangeNothing) {
  TempDir dir;
  const std::string card = (dir / "card").string();
  WriteFile(dir / "card/SETUP/Setup.ini", "old");
  ExpectFailure(Blackbox(dir, {"setup", "apply", card, "Quality=3"}), 1);
  ExpectFailure(Blackbox(dir, {"setup", "apply", card, "quality=1"}), 1);
  ExpectFailure(Blackbox(dir, {"setup", "apply", card, "TVOut=1"}), 1);  // park only
  ExpectFailure(Blackbox(dir, {"setup", "apply", card, "DST=yes"}), 1);
  ExpectFailure(Blackbox(dir, {"setup", "apply", card, "Quality"}), 1);
  ExpectFailure(Blackbox(dir, {"setup", "show", card, "--profile", "quad"}), 1);
  ExpectFailure(Blackbox(dir, {"setup", "erase", card}), 1);
  ExpectFailure(Blackbox(dir, {"setup", "show"}), 1);
  EXPECT_EQ(ReadFile(dir / "card/SETUP/Setup.ini"), "old");
}

TEST(SetupCommand, UnreachableFilesAndFoldersAreStatusTwo) {
  TempDir dir;
  ExpectFailure(Blackbox(dir, {"setup", "show", (dir / "missing").string()}), 2);
  std::filesystem::create_directories(dir / "card");
  // Apply does not create SETUP; the dialog never opens without it.
  ExpectFailure(Blackbox(dir, {"setup", "apply", (dir / "card").string()}), 2);
  std::filesystem::create_directories(dir / "card/SETUP/Setup.ini");
  ExpectFailure(Blackbox(dir, {"setup", "show", (dir / "card").string()}), 2);
  ExpectFailure(Blackbox(dir, {"setup", "factory", (dir / "card").string()}), 2);
}

TEST(ClockCommand, WritesTheProfilesClockFile) {
  TempDir dir;
  const std::string card = (dir / "card").string();
  std::filesystem::create_directories(card);
  Outcome run = Blackbox(dir, {"clock", card, "2012-01-01 00:00:00"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "card/_D9SetTimeSetting.dx_"), "2012.01.01..00:00:00");
  run = Blackbox(dir, {"clock", card, "2024-02-29 23:59:59", "--profile", "park"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "card/_newtime.dtm"), "2024.02.29..23:59:59");

  for (const char* bad : {"2023-02-29 12:00:00", "2012-13-01 00:00:00", "2012-01-01 24:00:00", "2012-1-1 0:0:0",
                          "2012-01-01T00:00:00", "+012-01-01 00:00:00"}) {
    ExpectFailure(Blackbox(dir, {"clock", card, bad}), 1);
  }
  ExpectFailure(Blackbox(dir, {"clock", (dir / "missing").string(), "2012-01-01 00:00:00"}), 2);
}

TEST(FormatPlanCommand, RefusesFoldersThatAreNotTheCardsDrive) {
  TempDir dir;
  std::filesystem::create_directories(dir / "card");
  Outcome run = Blackbox(dir, {"format-plan", (dir / "card").string(), "--capacity", "1073741824"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Please select storage card.\n");
  run = Blackbox(dir, {"format-plan", "/", "--capacity", "1073741824"});
  EXPECT_EQ(run.out, "Please select storage card.\n");  // the system's own drive

  ExpectFailure(Blackbox(dir, {"format-plan", (dir / "card").string()}), 1);
  ExpectFailure(Blackbox(dir, {"format-plan", (dir / "card").string(), "--capacity", "-5"}), 1);
  ExpectFailure(Blackbox(dir, {"format-plan", (dir / "missing").string(), "--capacity", "5"}), 2);
}

TEST(FormatPlanCommand, PlansAMountedDrive) {
  // Any mounted file system other than the root one stands in for a card; nothing is formatted.
  if (setup::FindMountPoint("/proc") != std::filesystem::path("/proc")) GTEST_SKIP() << "/proc is not mounted";
  TempDir dir;
  Outcome run = Blackbox(dir, {"format-plan", "/proc", "--capacity", "2147483648"});
  EXPECT_EQ(run.out, "/proc /FS:FAT16 /A:16K /V: /Y\n") << run.err;
  run = Blackbox(dir, {"format-plan", "/proc/", "--capacity", "2147483649", "--opened-on", "/proc"});
  EXPECT_EQ(run.out, "/proc /FS:FAT32 /A:32K /V: /Y\n") << run.err;
  run = Blackbox(dir, {"format-plan", "/proc", "--capacity", "1", "--opened-on", dir.path().string()});
  EXPECT_EQ(run.out, "Please select storage card.\n");  // another drive than the card's
}

}  // namespace
