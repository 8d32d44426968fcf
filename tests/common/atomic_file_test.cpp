#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "tests/support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
namespace fs = std::filesystem;

std::size_t Entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(WriteFileAtomically, ReplacesTheWholeFileAndLeavesNothingElse) {
  TempDir dir;
  const auto file = dir / "Setup.ini";
  testing_support::WriteFile(file, std::string(10000, 'o'));
  ASSERT_TRUE(common::WriteFileAtomically(file, "new\r\n"));
  EXPECT_EQ(ReadFile(file), "new\r\n");
  EXPECT_EQ(Entries(dir.path()), 1u);
  ASSERT_TRUE(common::WriteFileAtomically(file, ""));
  EXPECT_EQ(ReadFile(file), "");
}

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFile) {
  TempDir dir;
  EXPECT_FALSE(common::WriteFileAtomically(dir / "missing" / "Setup.ini", "x"));
  EXPECT_FALSE(fs::exists(dir / "missing"));
  // A folder in the way: the rename fails and the temporary file is removed.
  fs::create_directories(dir / "Setup.ini" / "inside");
  EXPECT_FALSE(common::WriteFileAtomically(dir / "Setup.ini", "x"));
  EXPECT_TRUE(fs::is_directory(dir / "Setup.ini" / "inside"));
  EXPECT_EQ(Entries(dir.path()), 1u);
}

}  // namespace

namespace {

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info.st_mode;
}

TEST(WriteFileAtomically, TheReplacedFileKeepsItsModeAndOwner) {
  TempDir dir;
  const auto file = dir / "Setup.ini";
  testing_support::WriteFile(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  }

  ASSERT_TRUE(common::WriteFileAtomically(file, "new"));
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(ModeOf(file) & 07777, 0640u);
  if (root) {
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
  }

  // A new file gets what any new file gets.
  const mode_t previous = ::umask(027);
  const bool written = common::WriteFileAtomically(dir / "TempMO.ini", "x");
  ::umask(previous);
  ASSERT_TRUE(written);
  EXPECT_EQ(ModeOf(dir / "TempMO.ini") & 07777, 0640u);
}

TEST(WriteFileAtomically, WritesThroughSymbolicLinks) {
  TempDir dir;
  testing_support::WriteFile(dir / "real/Setup.ini", "old");
  fs::create_directories(dir / "card/SETUP");
  fs::create_symlink("../../real/Setup.ini", dir / "card/SETUP/Setup.ini");
  fs::create_symlink(dir / "card/SETUP/Setup.ini", dir / "chain");

  ASSERT_TRUE(common::WriteFileAtomically(dir / "chain", "through two links"));
  EXPECT_TRUE(fs::is_symlink(dir / "chain"));
  EXPECT_TRUE(fs::is_symlink(dir / "card/SETUP/Setup.ini"));
  EXPECT_EQ(ReadFile(dir / "real/Setup.ini"), "through two links");
  EXPECT_EQ(Entries(dir / "real"), 1u);
  EXPECT_EQ(Entries(dir / "card/SETUP"), 1u);

  // A link to a file not there yet creates it, as opening the link for writing would.
  fs::create_symlink("later.ini", dir / "dangling");
  ASSERT_TRUE(common::WriteFileAtomically(dir / "dangling", "created"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_EQ(ReadFile(dir / "later.ini"), "created");

  // A loop has no file at its end.
  fs::create_symlink("loop-b", dir / "loop-a");
  fs::create_symlink("loop-a", dir / "loop-b");
  EXPECT_FALSE(common::WriteFileAtomically(dir / "loop-a", "x"));
  EXPECT_TRUE(fs::is_symlink(dir / "loop-a"));
}

TEST(WriteFileAtomically, TheNextWriteRemovesWhatACrashLeft) {
  TempDir dir;
  const auto file = dir / "track.KEL";
  testing_support::WriteFile(file, "old");
  testing_support::WriteFile(dir / "track.KEL.partial", std::string(5000, 'x'));
  ASSERT_TRUE(common::WriteFileAtomically(file, "new"));
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(Entries(dir.path()), 1u);

  // Something planted under the temporary name is removed, never written through.
  testing_support::WriteFile(dir / "other", "untouched");
  fs::create_symlink(dir / "other", dir / "track.KEL.partial");
  ASSERT_TRUE(common::WriteFileAtomically(file, "newer"));
  EXPECT_EQ(ReadFile(file), "newer");
  EXPECT_EQ(ReadFile(dir / "other"), "untouched");
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "track.KEL.partial")));
}

TEST(WriteFileAtomically, WritersOfTheSameFileTakeTurns) {
  TempDir dir;
  const auto file = dir / "Setup.ini";
  const std::string a(200000, 'a'), b(300000, 'b');
  std::atomic<int> failures{0};
  auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 30; ++i) {
      if (!common::WriteFileAtomically(file, bytes)) ++failures;
    }
  };
  std::thread first(writer, a), second(writer, b);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  const std::string result = ReadFile(file);
  EXPECT_TRUE(result == a || result == b);
  EXPECT_EQ(Entries(dir.path()), 1u);
}

}  // namespace
