// Writes that fail part-way: an injected short write, a full file system, a read-only folder and
// a process killed while it saves. Whatever happens, the user's previous file stays byte for
// byte, and the next save leaves no temporary file behind.
//
// This executable is linked with --wrap=write and --wrap=fsync, so the faults below reach every
// write the project's libraries make.
#include <errno.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <thread>

#include "common/atomic_file.h"
#include "manager/library/last_folder_file.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"
#include "manager/setup/temp_ms_file.h"
#include "tests/reliability/child_process.h"
#include "tests/support/temp_dir.h"
#include "tracker/log/field_text.h"
#include "tracker/log/trip_database.h"

namespace fault {

// Bytes that may still be written before writes fail with `error`; negative: no fault.
std::atomic<long long> budget{-1};
std::atomic<int> error{ENOSPC};
std::atomic<bool> failFsync{false};

}  // namespace fault

extern "C" ssize_t __real_write(int fd, const void* data, size_t size);
extern "C" int __real_fsync(int fd);

extern "C" ssize_t __wrap_write(int fd, const void* data, size_t size) {
  long long left = fault::budget.load();
  if (left < 0) return __real_write(fd, data, size);
  if (left == 0) {
    errno = fault::error.load();
    return -1;
  }
  // A short write: what fits, and the failure comes with the next call.
  const auto allowed = static_cast<size_t>(std::min<long long>(left, static_cast<long long>(size)));
  const ssize_t written = __real_write(fd, data, allowed);
  if (written > 0) fault::budget -= written;
  return written;
}

extern "C" int __wrap_fsync(int fd) {
  if (fault::failFsync.load()) {
    errno = EIO;
    return -1;
  }
  return __real_fsync(fd);
}

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
namespace fs = std::filesystem;

struct FaultScope {
  FaultScope(long long budget, int error, bool failFsync = false) {
    fault::error = error;
    fault::failFsync = failFsync;
    fault::budget = budget;
  }
  ~FaultScope() {
    fault::budget = -1;
    fault::failFsync = false;
  }
};

std::size_t Entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A trip database of `points` fixes in day, drive and parking rows, different for each seed.
std::string TripDatabase(int points, unsigned seed) {
  tracker::PointStore store(static_cast<std::size_t>(points), tracker::TrackPoint{});
  std::mt19937 random(seed);
  for (int i = 0; i < points; ++i) {
    tracker::TrackPoint& p = store[static_cast<std::size_t>(i)];
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", 37.0 + (random() % 100000) / 1e6);
    tracker::SetFieldText(p.latitude, std::string(text).substr(0, 8));
    std::snprintf(text, sizeof text, "%.6f", 127.0 + (random() % 100000) / 1e6);
    tracker::SetFieldText(p.longitude, std::string(text).substr(0, 9));
    tracker::SetFieldText(p.date, "20240513");
    std::snprintf(text, sizeof text, "%06d", i % 240000);
    tracker::SetFieldText(p.time, text);
    tracker::SetFieldText(p.speed, "012.5");
    p.date_number = 20240513;
    p.time_number = i % 240000;
  }
  tracker::RowTable rows(3);
  const tracker::RowType kinds[] = {tracker::RowType::kDay, tracker::RowType::kDrive, tracker::RowType::kParking};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    rows[r] = tracker::TripRecord{};
    rows[r].type = kinds[r];
    rows[r].first_point = 0;
    rows[r].point_count = points;
    tracker::SetFieldText(rows[r].driver, "driver " + std::to_string(seed));
  }
  return tracker::EncodeTripDatabase(rows, store, {'.', 'K', 'E', 'L'});
}

bool Loads(const std::string& bytes) {
  tracker::DecodedDatabase decoded;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  return tracker::DecodeTripDatabase({data, bytes.size()}, {'.', 'K', 'E', 'L'}, decoded) ==
         tracker::DatabaseError::kNone;
}

// The files the programs write, each through its own writer.
struct Writer {
  const char* name;
  std::function<bool(const fs::path&)> write;
};

std::vector<Writer> Writers() {
  static const std::string database = TripDatabase(20000, 7);
  return {
      {"Setup.ini",
       [](const fs::path& path) {
         setup::MemorySetupControls controls(setup::kDualProfile);
         setup::ApplyDefaults(setup::kDualProfile, controls);
         return setup::WriteApplyFile(setup::kDualProfile, path, controls) == common::CardWrite::kWritten;
       }},
      {"TempMO.ini", [](const fs::path& path) { return library::WriteLastFolder(path, "/media/card/DCIM"); }},
      {"TempMS.ini", [](const fs::path& path) { return setup::WriteTempMsFile(path, "/media/card"); }},
      {"track.KEL", [](const fs::path& path) { return common::WriteFileAtomically(path, database); }},
  };
}

TEST(WriteFaults, AWriteThatFailsPartWayLeavesTheOldFile) {
  const std::string old = "the user's previous file\r\n" + std::string(3000, '#');
  for (const Writer& writer : Writers()) {
    long long size;
    {
      TempDir scratch;
      ASSERT_TRUE(writer.write(scratch / writer.name));
      size = static_cast<long long>(fs::file_size(scratch / writer.name));
    }
    // Nothing written, a byte, half, all but the last byte.
    for (const long long budget : {0LL, 1LL, size / 2, size - 1}) {
      for (const int error : {ENOSPC, EIO, EFBIG}) {
        SCOPED_TRACE(std::string(writer.name) + " fails after " + std::to_string(budget) + " bytes, errno " +
                     std::to_string(error));
        TempDir dir;
        const fs::path file = dir / writer.name;
        testing_support::WriteFile(file, old);
        bool written;
        {
          FaultScope scope(budget, error);
          written = writer.write(file);
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(ReadFile(file), old);
        EXPECT_EQ(Entries(dir.path()), 1u) << "no temporary file stays";
      }
    }
    SCOPED_TRACE(std::string(writer.name) + ": the flush fails");
    TempDir dir;
    const fs::path file = dir / writer.name;
    testing_support::WriteFile(file, old);
    bool written;
    {
      FaultScope scope(-1, 0, /*failFsync=*/true);
      written = writer.write(file);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(file), old);
    EXPECT_EQ(Entries(dir.path()), 1u);
  }
}

// Runs `body` in a child process and returns its exit status (-1 when it did not exit).
int InChild(const std::function<int()>& body) { return reliability_test::RunInChild(body, 60).code; }

TEST(WriteFaults, AFullFileSystemLeavesTheOldFile) {
  TempDir dir;
  const fs::path file = dir / "track.KEL";
  const std::string old = TripDatabase(1000, 1);
  const std::string bigger = TripDatabase(50000, 2);
  testing_support::WriteFile(file, old);
  // The file-size limit makes the file system "full" at 64 KiB for this process alone.
  const int status = InChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    return common::WriteFileAtomically(file, bigger) ? 0 : 1;
  });
  EXPECT_EQ(status, 1) << "the save reports the failure";
  EXPECT_EQ(ReadFile(file), old);
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(WriteFaults, AReadOnlyFolderLeavesTheOldFile) {
  TempDir dir;
  const fs::path card = dir / "card";
  fs::create_directories(card / "SETUP");
  const fs::path file = card / "SETUP/Setup.ini";
  testing_support::WriteFile(file, "old settings");
  ASSERT_EQ(::chmod((card / "SETUP").c_str(), 0555), 0);
  // Root writes into any folder; the child gives that up first, as a user's program has it.
  const int status = InChild([&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
    setup::MemorySetupControls controls(setup::kDualProfile);
    setup::ApplyDefaults(setup::kDualProfile, controls);
    return setup::WriteApplyFile(setup::kDualProfile, file, controls) == common::CardWrite::kWritten ? 0 : 1;
  });
  ::chmod((card / "SETUP").c_str(), 0755);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(ReadFile(file), "old settings");
  EXPECT_EQ(Entries(card / "SETUP"), 1u);
}

TEST(WriteFaults, AProcessKilledWhileSavingLeavesTheOldOrTheNewDatabase) {
  TempDir dir;
  const fs::path file = dir / "trips.KEL";
  const std::string old = TripDatabase(400000, 1);
  const std::string fresh = TripDatabase(420000, 2);
  ASSERT_NE(old, fresh);

  // How long one save takes here, so the kills fall before, during and after it.
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(common::WriteFileAtomically(file, old));
  const auto saveTime =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);

  std::mt19937 random(17);
  int sawOld = 0, sawNew = 0;
  for (int round = 0; round < 16; ++round) {
    ASSERT_TRUE(common::WriteFileAtomically(file, old));
    const pid_t child = ::fork();
    if (child == 0) ::_exit(common::WriteFileAtomically(file, fresh) ? 0 : 1);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % (saveTime.count() * 3 / 2 + 1)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    const std::string left = ReadFile(file);
    ASSERT_TRUE(left == old || left == fresh) << "round " << round << ": a mix of " << left.size() << " bytes";
    EXPECT_TRUE(Loads(left));
    (left == old ? sawOld : sawNew)++;

    // The next save cleans up whatever the killed one left.
    ASSERT_TRUE(common::WriteFileAtomically(file, fresh));
    EXPECT_EQ(Entries(dir.path()), 1u) << "round " << round;
  }
  std::printf("killed saves: %d left the old file, %d the new one (one save takes %lld us)\n", sawOld, sawNew,
              static_cast<long long>(saveTime.count()));
}

}  // namespace
