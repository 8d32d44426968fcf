#include "manager/library/folder_scan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/path_text.h"
#include "manager/library/last_folder_file.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace library;
using testing_support::MakeFileOfSize;
using testing_support::TempDir;
namespace fs = std::filesystem;

std::vector<std::string> Names(const SortedPathList& paths, const fs::path& root) {
  std::vector<std::string> names;
  for (const auto& path : paths.paths()) names.push_back(fs::path(path).lexically_relative(root).string());
  return names;
}

TEST(ScanFolder, DeletesChannelOneStubsAndListsTheRest) {
  TempDir card;
  MakeFileOfSize(card / "drf_20100101_000000.mp4", 1024);
  MakeFileOfSize(card / "drf_20100101_000100.mp4", 1025);
  MakeFileOfSize(card / "drr_20100101_000000.mp4", 10);
  MakeFileOfSize(card / "drf_20100101_000200.MP4", 10);
  MakeFileOfSize(card / "notes.txt", 10);
  std::vector<std::string> reported;
  const auto list = BuildRecordingList(card.path().string(), {true, [&](const std::string& path, bool removed) {
                                                                EXPECT_TRUE(removed);
                                                                reported.push_back(path);
                                                              }});
  EXPECT_EQ(Names(list, card.path()), std::vector<std::string>{"drf_20100101_000100.mp4"});
  EXPECT_FALSE(fs::exists(card / "drf_20100101_000000.mp4"));
  EXPECT_EQ(reported, std::vector<std::string>{(card / "drf_20100101_000000.mp4").string()});
  EXPECT_TRUE(fs::exists(card / "drr_20100101_000000.mp4"));
  EXPECT_TRUE(fs::exists(card / "drf_20100101_000200.MP4"));
}

TEST(ScanFolder, StubsCanBeNamedWithoutDeletingThem) {
  TempDir card;
  MakeFileOfSize(card / "drf_20100101_000000.mp4", 0);
  int reports = 0;
  const auto list = BuildRecordingList(card.path().string(), {false, [&](const std::string&, bool removed) {
                                                                EXPECT_FALSE(removed);
                                                                ++reports;
                                                              }});
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(reports, 1);
  EXPECT_TRUE(fs::exists(card / "drf_20100101_000000.mp4"));
}

TEST(ScanFolder, GoesTwoLevelsDownAndSortsAcrossFolders) {
  TempDir card;
  MakeFileOfSize(card / "drf_20100104_000000.mp4", 2000);
  MakeFileOfSize(card / "A/drf_20100103_000000.mp4", 2000);
  MakeFileOfSize(card / "A/B/drf_20100102_000000.mp4", 2000);
  MakeFileOfSize(card / "A/B/C/drf_20100101_000000.mp4", 2000);
  // In a level-3 folder, recordings read after a subfolder still count.
  MakeFileOfSize(card / "A/B/0sub/drf_20100101_120000.mp4", 2000);
  MakeFileOfSize(card / "A/B/zz/drf_20100105_000000.mp4", 2000);
  const auto list = BuildRecordingList(common::WithTrailingSeparator(card.path().string()));
  EXPECT_EQ(Names(list, card.path()),
            (std::vector<std::string>{"A/B/drf_20100102_000000.mp4", "A/drf_20100103_000000.mp4",
                                      "drf_20100104_000000.mp4"}));
  EXPECT_EQ(list[0].find("//"), std::string::npos) << "one separator between folder and name";
}

TEST(ScanFolder, HugeFilesAreListedAndNeverDeleted) {
  TempDir card;
  MakeFileOfSize(card / "drf_20100101_000000.mp4", 4ull << 30);
  MakeFileOfSize(card / "drf_20100101_000100.mp4", (4ull << 30) + 100);
  const auto list = BuildRecordingList(card.path().string());
  EXPECT_EQ(list.GetSize(), 2u);
  EXPECT_TRUE(fs::exists(card / "drf_20100101_000000.mp4"));
}

TEST(ScanFolder, AFolderThatCannotBeReadYieldsNothing) {
  TempDir card;
  EXPECT_TRUE(BuildRecordingList((card / "missing").string()).empty());
}

TEST(LastFolderFile, StoresUtf16WithoutMarkOrTerminator) {
  TempDir dir;
  const auto file = dir / "TempMO.ini";
  ASSERT_TRUE(WriteLastFolder(file, "E:\\"));
  EXPECT_EQ(testing_support::ReadFile(file), std::string("E\0:\0\\\0", 6));
  ASSERT_TRUE(WriteLastFolder(file, "/media/카드/"));
  EXPECT_EQ(testing_support::ReadFile(file).size(), 2u * 10);
  EXPECT_EQ(ReadLastFolder(file), "/media/카드/");
  EXPECT_FALSE(ReadLastFolder(dir / "missing.ini"));
}

TEST(LastFolderFile, LengthLimits) {
  TempDir dir;
  const auto file = dir / "TempMO.ini";
  const std::string longest(260, 'a');
  ASSERT_TRUE(WriteLastFolder(file, longest));
  EXPECT_EQ(testing_support::ReadFile(file).size(), 520u);
  EXPECT_EQ(ReadLastFolder(file), std::string(259, 'a')) << "read back cut to 259";
  ASSERT_TRUE(WriteLastFolder(file, std::string(261, 'a')));
  EXPECT_EQ(testing_support::ReadFile(file).size(), 0u) << "too long: nothing written";
  testing_support::WriteFile(file, std::string("a\0b\0\0\0c\0", 8));
  EXPECT_EQ(ReadLastFolder(file), "ab");
}

}  // namespace
