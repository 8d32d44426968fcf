#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/file_reader.h"
#include "common/folder_listing.h"
#include "common/user_config.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

TEST(FileReader, ReadsAnyRangeAndStopsAtTheEnd) {
  TempDir dir;
  WriteFile(dir / "data", "0123456789");
  const auto file = common::FileReader::Open(dir / "data");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Size(), 10u);
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(file->ReadAt(8, buffer), 2u);
  EXPECT_EQ(std::string(buffer, buffer + 2), "89");
  EXPECT_EQ(file->ReadAt(3, buffer), 4u);
  EXPECT_EQ(std::string(buffer, buffer + 4), "3456");
  EXPECT_EQ(file->ReadAt(10, buffer), 0u);
  EXPECT_EQ(file->ReadAt(~0ull, buffer), 0u) << "an offset past any file reads nothing";

  EXPECT_EQ(common::ReadWholeFile(dir / "data"), "0123456789");
  EXPECT_EQ(common::ReadFileRange(dir / "data", 4, 3), "456");
  EXPECT_EQ(common::ReadFileRange(dir / "data", 7, 100), "789");
  EXPECT_EQ(common::ReadFileRange(dir / "data", 20, 5), "");
  WriteFile(dir / "empty", "");
  EXPECT_EQ(common::ReadWholeFile(dir / "empty"), "");
}

TEST(FileReader, ReadsFilesWhoseSizeSaysNothing) {
  // The kernel's files tell a size of 0 (or a page) whatever they hold.
  const auto status = common::ReadWholeFile("/proc/self/status");
  ASSERT_TRUE(status);
  EXPECT_NE(status->find("Name:"), std::string::npos);
  const auto start = common::ReadFileRange("/proc/self/status", 0, 5);
  EXPECT_EQ(start, "Name:");
}

TEST(FileReader, RefusesWhatIsNoRegularFileWithoutBlocking) {
  TempDir dir;
  EXPECT_FALSE(common::FileReader::Open(dir / "missing"));
  EXPECT_FALSE(common::ReadWholeFile(dir.path()));
  // Opening a FIFO for reading waits for a writer unless the reader takes care.
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(common::FileReader::Open(dir / "fifo"));
  EXPECT_FALSE(common::ReadFileRange(dir / "fifo", 0, 10));
  WriteFile(dir / "target", "linked");
  fs::create_symlink(dir / "target", dir / "link");
  EXPECT_EQ(common::ReadWholeFile(dir / "link"), "linked");
}

TEST(FileReader, MovesKeepOneOwner) {
  TempDir dir;
  WriteFile(dir / "a", "aaa");
  WriteFile(dir / "b", "bb");
  auto a = common::FileReader::Open(dir / "a");
  auto b = common::FileReader::Open(dir / "b");
  ASSERT_TRUE(a && b);
  *a = std::move(*b);
  std::uint8_t buffer[3] = {};
  EXPECT_EQ(a->Size(), 2u);
  EXPECT_EQ(a->ReadAt(0, buffer), 2u);
  common::FileReader moved(std::move(*a));
  EXPECT_EQ(moved.ReadAt(0, buffer), 2u);
}

TEST(ListFolderSorted, NamesInByteOrderWithTheirKind) {
  TempDir dir;
  WriteFile(dir / "b.log", "12345");
  WriteFile(dir / "A.log", "1");
  WriteFile(dir / "a.log", "");
  fs::create_directory(dir / "sub");
  fs::create_symlink(dir / "sub", dir / "link-to-sub");
  const auto entries = common::ListFolderSorted(dir.path());
  ASSERT_TRUE(entries);
  std::vector<std::string> names;
  for (const auto& entry : *entries) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"A.log", "a.log", "b.log", "link-to-sub", "sub"}));
  EXPECT_TRUE((*entries)[2].regular);
  EXPECT_TRUE((*entries)[3].folder);
  EXPECT_TRUE((*entries)[4].folder);
  EXPECT_FALSE((*entries)[4].regular);

  EXPECT_FALSE(common::ListFolderSorted(dir / "missing"));
  EXPECT_FALSE(common::ListFolderSorted(dir / "b.log"));
}

TEST(UserConfig, TheFolderFollowsXdgAndTheOldFileIsTakenOverOnce) {
  TempDir dir;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = xdg != nullptr ? xdg : "";
  ::setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
  EXPECT_EQ(common::UserConfigFile("TempMO.ini"), dir / "xdg/blackbox/TempMO.ini");
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored, as XDG says
  EXPECT_EQ(common::UserConfigFolder().filename(), "blackbox");
  EXPECT_EQ(common::UserConfigFolder().parent_path().filename(), ".config");
  if (xdg != nullptr) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }

  const struct {
    const char* what;
    std::function<void(const fs::path& old, const fs::path& file)> make;
    std::optional<std::string> adopted;
  } cases[] = {
      {"an old file, no new one", [](const fs::path& old, const fs::path&) { WriteFile(old, "old folder"); },
       "old folder"},
      {"a new file already",
       [](const fs::path& old, const fs::path& file) {
         WriteFile(old, "old folder");
         WriteFile(file, "new folder");
       },
       "new folder"},
      {"no old file", [](const fs::path&, const fs::path&) {}, std::nullopt},
      {"an old file that is a link",
       [](const fs::path& old, const fs::path&) {
         WriteFile(old.parent_path() / "elsewhere", "elsewhere");
         fs::create_symlink("elsewhere", old);
       },
       std::nullopt},
      {"an old FIFO", [](const fs::path& old, const fs::path&) { ASSERT_EQ(::mkfifo(old.c_str(), 0644), 0); },
       std::nullopt},
      {"an old file longer than the limit",
       [](const fs::path& old, const fs::path&) { WriteFile(old, std::string(600, 'x')); }, std::string(520, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir work;
    const fs::path old = work / "TempMO.ini", file = work / "config/blackbox/TempMO.ini";
    c.make(old, file);
    common::AdoptOldFile(file, old, 520);
    if (c.adopted) {
      EXPECT_EQ(testing_support::ReadFile(file), *c.adopted);
    } else {
      EXPECT_FALSE(fs::exists(file));
    }
  }
}

}  // namespace
