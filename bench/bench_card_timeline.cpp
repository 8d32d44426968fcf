// How long "which recordings show this moment?" takes on a full card: the time line of 20,000
// recordings built once (every recording's headers read), and the look-ups that follow.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "manager/timeline/card_timeline.h"
#include "tests/manager/timeline/fake_recording.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecordings = 20000;
constexpr std::int64_t kFirst = 1715580000;  // 2024-05-13 06:00:00 UTC
constexpr int kSeconds = 60;

// card/<cause>/drf_*.mp4: continuous minutes back to back, every tenth minute an event
// recording over it too, and half of them with a sensor record.
const fs::path& Card() {
  static const fs::path card = [] {
    const fs::path root = fs::temp_directory_path() / "blackbox-bench-timeline";
    fs::remove_all(root);
    fs::create_directories(root / "SETUP");
    std::ofstream(root / "SETUP" / "Setup.ini") << "TimeZone        = 71 ;\r\nDST        = 0 ;\r\n";
    for (int n = 0; n < kRecordings; ++n) {
      const bool event = n % 10 == 0;
      const std::int64_t start = kFirst + static_cast<std::int64_t>(n) * kSeconds + (event ? 20 : 0);
      const std::string name = timeline::MomentText(start + 9 * 3600);  // the camera's clock, Seoul
      const std::string file = "drf_" + name.substr(0, 4) + name.substr(5, 2) + name.substr(8, 2) + "_" +
                               name.substr(11, 2) + name.substr(14, 2) + name.substr(17, 2) + ".mp4";
      const fs::path folder = root / (event ? "EVENT" : "CONTINUOUS") / name.substr(0, 10);
      fs::create_directories(folder);
      std::optional<std::int32_t> stamp;
      if (n % 2 == 0) stamp = static_cast<std::int32_t>(start);
      std::ofstream(folder / file, std::ios::binary) << testing_support::FakeRecording(event ? 30 : kSeconds, stamp);
    }
    return root;
  }();
  return card;
}

void BM_BuildTimeline(benchmark::State& state) {
  const std::string card = Card().string();  // made once, outside the timing
  std::size_t count = 0;
  for (auto _ : state) {
    const auto built = timeline::CardTimeline::Build(card, 0);
    count = built.entries().size();
    benchmark::DoNotOptimize(built);
  }
  state.counters["recordings"] = static_cast<double>(count);
}
BENCHMARK(BM_BuildTimeline)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_FindMoment(benchmark::State& state) {
  const auto built = timeline::CardTimeline::Build(Card().string(), 0);
  // Moments spread over the whole card, a prime number of seconds apart.
  std::int64_t step = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    step = (step + 7919) % (static_cast<std::int64_t>(kRecordings) * kSeconds);
    found += built.Find(kFirst + step).size();
  }
  state.counters["matches"] = benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindMoment)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(Card(), ignored);
  return 0;
}
