// How long the recording list of a full card takes: a 3-level tree of 20,000 recordings,
// scanned and sorted, in-process and as `blackbox list`; and a folder of one recording beside
// a hundred links to itself, which must list one row in well under 0.1 s.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "manager/library/folder_scan.h"

namespace {

namespace fs = std::filesystem;

// card/<cause folder>/<day folder>/drf_*.mp4: 4 x 25 folders of 200 recordings each, every one
// a sparse file just over the stub size.
const fs::path& Card() {
  static const fs::path card = [] {
    const fs::path root = fs::temp_directory_path() / "blackbox-bench-card";
    fs::remove_all(root);
    const char* causes[] = {"EVENT", "MANUAL", "Dx_0001", "CONTINUOUS"};
    int n = 0;
    for (const char* cause : causes) {
      for (int day = 0; day < 25; ++day) {
        const fs::path folder = root / cause / ("2010" + std::to_string(1000 + day));
        fs::create_directories(folder);
        for (int i = 0; i < 200; ++i, ++n) {
          char name[64];
          // Spread the start times so the sort has work to do across folders.
          const int seconds = (n * 7919) % 86400;
          std::snprintf(name, sizeof name, "drf_2010%02d%02d_%02d%02d%02d.mp4", 1 + n % 12, 1 + day, seconds / 3600,
                        seconds / 60 % 60, seconds % 60);
          const int fd = ::open((folder / name).c_str(), O_CREAT | O_WRONLY, 0644);
          if (fd >= 0) {
            if (::ftruncate(fd, 4096) != 0) std::perror("ftruncate");
            ::close(fd);
          }
        }
      }
    }
    return root;
  }();
  return card;
}

void BM_BuildRecordingList(benchmark::State& state) {
  std::size_t count = 0;
  const std::string card = Card().string();  // made once, outside the timing
  for (auto _ : state) {
    const auto list = library::BuildRecordingList(card);
    count = list.GetSize();
    benchmark::DoNotOptimize(list);
  }
  state.counters["recordings"] = static_cast<double>(count);
}
BENCHMARK(BM_BuildRecordingList)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_BlackboxListCommand(benchmark::State& state) {
  const std::string command = std::string(BLACKBOX_EXE) + " list '" + Card().string() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("blackbox list failed");
  }
}
BENCHMARK(BM_BlackboxListCommand)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

// One recording and 100 links to its own folder: each folder is visited once.
const fs::path& LinkFanCard() {
  static const fs::path card = [] {
    const fs::path root = fs::temp_directory_path() / "blackbox-bench-link-fan";
    fs::remove_all(root);
    fs::create_directories(root);
    const int fd = ::open((root / "drf_20100101_000000.mp4").c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd >= 0) {
      if (::ftruncate(fd, 4096) != 0) std::perror("ftruncate");
      ::close(fd);
    }
    for (int i = 0; i < 100; ++i) fs::create_directory_symlink(".", root / ("link" + std::to_string(i)));
    return root;
  }();
  return card;
}

void BM_LinkFanList(benchmark::State& state) {
  const std::string command = std::string(BLACKBOX_EXE) + " list '" + LinkFanCard().string() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("blackbox list failed");
  }
  state.counters["rows"] = static_cast<double>(library::BuildRecordingList(LinkFanCard().string()).GetSize());
}
BENCHMARK(BM_LinkFanList)->Unit(benchmark::kMillisecond)->MinTime(0.5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(Card(), ignored);  // the test data is large; leave nothing behind
  return 0;
}
