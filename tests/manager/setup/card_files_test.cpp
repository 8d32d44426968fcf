#include <gtest/gtest.h>

#include "manager/setup/clock_file.h"
#include "manager/setup/profile.h"
#include "manager/setup/settings_path.h"
#include "manager/setup/temp_ms_file.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(ClockFile, OneLineNamedByProfile) {
  EXPECT_EQ(ClockText({2012, 1, 1, 0, 0, 0}), "2012.01.01..00:00:00");
  EXPECT_EQ(ClockText({2011, 7, 5, 3, 11, 17}), "2011.07.05..03:11:17");

  TempDir dir;
  ASSERT_EQ(WriteClockFile(kDualProfile, dir.path(), {2011, 7, 5, 3, 11, 17}), common::CardWrite::kWritten);
  EXPECT_EQ(ReadFile(dir / "_D9SetTimeSetting.dx_"), "2011.07.05..03:11:17");
  ASSERT_EQ(WriteClockFile(kParkProfile, dir.path(), {2012, 1, 1, 0, 0, 0}), common::CardWrite::kWritten);
  EXPECT_EQ(ReadFile(dir / "_newtime.dtm"), "2012.01.01..00:00:00");
  EXPECT_EQ(ClockFilePath(kBrandProfile, dir.path()), dir / "_D9SetTimeSetting.dx_");
  EXPECT_EQ(WriteClockFile(kDualProfile, dir / "missing", {2012, 1, 1, 0, 0, 0}), common::CardWrite::kFailed);
}

TEST(SettingsPath, FromTheChosenFolder) {
  EXPECT_EQ(SettingsFilePath(CardFolderFromChoice("E:\\")), "E:\\SETUP\\Setup.ini");
  EXPECT_EQ(SettingsFilePath(CardFolderFromChoice("D:\\cards\\cam1")), "D:\\cards\\cam1\\SETUP\\Setup.ini");
  EXPECT_EQ(CardFolderFromChoice("/media/cam"), "/media/cam/");
  EXPECT_EQ(CardFolderFromChoice("/"), "/");
  EXPECT_EQ(SettingsFolder("/media/cam/"), "/media/cam/SETUP");
  EXPECT_EQ(SettingsFilePath("/media/cam"), "/media/cam/SETUP/Setup.ini");
}

TEST(TempMsFile, HoldsTheChosenFolderAsBareUtf16) {
  TempDir dir;
  const auto file = dir / "TempMS.ini";
  EXPECT_FALSE(ReadTempMsFile(file).has_value());

  ASSERT_TRUE(WriteTempMsFile(file, "E:\\"));  // a drive root keeps its own backslash
  EXPECT_EQ(ReadFile(file), std::string("E\0:\0\\\0", 6));
  ASSERT_TRUE(WriteTempMsFile(file, "/media/카드"));
  EXPECT_EQ(ReadFile(file).size(), 18u);  // nine code units
  EXPECT_EQ(ReadTempMsFile(file), "/media/카드");

  // At most 260 code units are taken; a NUL ends the path; an odd byte is dropped.
  std::string long_path;
  for (int i = 0; i < 300; ++i) long_path += std::string("a\0", 2);
  WriteFile(file, long_path);
  EXPECT_EQ(ReadTempMsFile(file), std::string(260, 'a'));
  WriteFile(file, std::string("a\0\0\0b\0", 6));
  EXPECT_EQ(ReadTempMsFile(file), "a");
  WriteFile(file, std::string("a\0b", 3));
  EXPECT_EQ(ReadTempMsFile(file), "a");
}

}  // namespace
}  // namespace setup
