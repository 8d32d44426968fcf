#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

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
