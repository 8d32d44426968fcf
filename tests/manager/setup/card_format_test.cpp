#include <gtest/gtest.h>

#include <filesystem>

#include "manager/setup/card_format.h"
#include "manager/setup/mount_point.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

constexpr std::uint64_t kGiB = 1024ULL * 1024 * 1024;

TEST(CardFormat, SizeDecidesTheFileSystem) {
  EXPECT_EQ(FormatParametersForDrive(ChooseFormatTemplate(1 * kGiB), "E:"), "E: /FS:FAT16 /A:16K /V: /Y");
  EXPECT_EQ(FormatParametersForDrive(ChooseFormatTemplate(4 * kGiB), "E:"), "E: /FS:FAT32 /A:32K /V: /Y");
  EXPECT_EQ(&ChooseFormatTemplate(2'147'483'648ULL), &kFat16Template);
  EXPECT_EQ(&ChooseFormatTemplate(2'147'483'649ULL), &kFat32Template);
  EXPECT_EQ(&ChooseFormatTemplate(std::nullopt), &kFat32Template);  // size unknown
  EXPECT_EQ(kFat16Template.cluster_bytes, 16384);
  EXPECT_EQ(kFat32Template.fat_bits, 32);
  EXPECT_EQ(FormatParametersForDrive(kFat32Template, "/media/card"), "/media/card /FS:FAT32 /A:32K /V: /Y");
}

TEST(CardFormat, MountPointsPlayTheDriveRoots) {
  const auto check = [](std::string folder, std::string mount, std::string_view card_mount) {
    return CheckMountTarget({std::move(folder), std::move(mount)}, card_mount);
  };
  EXPECT_EQ(check("/media/card", "/media/card", "/media/card"), FormatRefusal::None);
  EXPECT_EQ(check("/media/card/", "/media/card", "/media/card/"), FormatRefusal::None);
  EXPECT_EQ(check("/media/card/DCIM", "/media/card", "/media/card"), FormatRefusal::BelowDriveRoot);
  EXPECT_EQ(check("/media/other", "/media/other", "/media/card"), FormatRefusal::OtherDrive);
  EXPECT_EQ(check("/", "/", "/"), FormatRefusal::SystemDrive);
  EXPECT_EQ(check("/media/card", "", "/media/card"), FormatRefusal::SystemDrive);

  const FormatPlan plan = PlanMountFormat({"/media/card", "/media/card"}, "/media/card", 1 * kGiB);
  EXPECT_EQ(plan.refusal, FormatRefusal::None);
  EXPECT_EQ(plan.format, &kFat16Template);
  EXPECT_EQ(plan.parameters, "/media/card /FS:FAT16 /A:16K /V: /Y");
  const FormatPlan refused = PlanMountFormat({"/media/card/x", "/media/card"}, "/media/card", 1 * kGiB);
  EXPECT_EQ(refused.refusal, FormatRefusal::BelowDriveRoot);
  EXPECT_EQ(refused.format, nullptr);
  EXPECT_EQ(FormatRefusalText(), "Please select storage card.");
}

TEST(CardFormat, AProgramThatNeverRanIsAFailure) {
  EXPECT_TRUE(FormatResult::FromExitCode(0).Succeeded());
  EXPECT_FALSE(FormatResult::FromExitCode(1).Succeeded());
  EXPECT_EQ(FormatResult::FromExitCode(4).status, FormatResult::Status::ProgramFailed);
  EXPECT_FALSE(FormatResult::NotStarted().Succeeded());
  EXPECT_EQ(FormatResult().status, FormatResult::Status::ProgramNotStarted);
}

TEST(MountPoint, TheRootHoldsItselfAndAFolderLiesOnADrive) {
  EXPECT_EQ(FindMountPoint("/"), std::filesystem::path("/"));
  testing_support::TempDir dir;
  std::filesystem::create_directories(dir / "a/b");
  const auto mount = FindMountPoint(dir / "a/b");
  ASSERT_TRUE(mount.has_value());
  EXPECT_EQ(FindMountPoint(dir.path()), mount);
  EXPECT_FALSE(FindMountPoint(dir / "missing").has_value());
  EXPECT_GT(FileSystemCapacity(dir.path()).value_or(0), 0u);
}

}  // namespace
}  // namespace setup
