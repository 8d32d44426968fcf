// What the incident commands cost, run as a user runs them: `blackbox incident` of a 20 s range
// of a 1280 x 720 recording pair (the goal is under 3 s), and `blackbox events` over a card of
// 2,000 recordings with a minute of sensor record each.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tools/samplecard/camera_video.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ShellQuoted;

std::string Record(std::time_t start, int seconds, int impactSecond) {
  recording::UserDataContent content;
  for (int s = 0; s < seconds; ++s) {
    content.times.push_back(static_cast<std::int32_t>(start + s));
    content.gpsSentences.push_back(recording::FormatRmcSentence(start + s, 37.5 + s * 0.0002, 127.0, 30, 0));
    for (int k = 0; k < 10; ++k) {
      const float jolt = s == impactSecond && k == 3 ? -1.5f : 0.0f;
      content.gsensor.push_back({0.98f, 0.01f * static_cast<float>(k % 3) + jolt, 0.02f});
    }
  }
  return recording::BuildUserDataBox(content);
}

void Run(const std::string& command) {
  if (std::system((command + " >/dev/null").c_str()) != 0) throw std::runtime_error("failed: " + command);
}

void BM_Incident20s(benchmark::State& state) {
  static testing_support::TempDir card;
  const std::time_t start = 1715590800;
  const fs::path front = card / "EVENT/drf_20240513_090000.mp4";
  if (!fs::exists(front)) {
    const std::string record = Record(start, 30, 15);
    testing_support::WriteFile(front, samplecard::EncodeCameraVideo({1280, 720, 30, start, "FRONT"}) + record);
    testing_support::WriteFile(card / "EVENT/drr_20240513_090000.mp4",
                               samplecard::EncodeCameraVideo({640, 480, 30, start, "REAR"}) + record);
  }
  const std::string command = std::string(BLACKBOX_EXE) + " incident " + ShellQuoted(front.string()) +
                              " --at 15 --force -o " + ShellQuoted((card / "out").string());
  for (auto _ : state) Run(command);
  state.counters["MB"] =
      static_cast<double>(fs::file_size(card / "out/front.mp4") + fs::file_size(card / "out/rear.mp4")) / 1e6;
}
BENCHMARK(BM_Incident20s)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Events(benchmark::State& state) {
  static testing_support::TempDir card;
  constexpr int kRecordings = 2000;
  if (!fs::exists(card / "EVENT")) {
    const fs::path clip = card / "clip.mp4";
    testing_support::MakeCameraClip(clip);
    const std::string movie = testing_support::ReadFile(clip);
    fs::remove(clip);
    const std::time_t first = 1715590800;
    for (int i = 0; i < kRecordings; ++i) {
      const std::time_t start = first + std::time_t{i} * 61;
      std::tm t{};
      ::gmtime_r(&start, &t);
      char name[40];
      std::strftime(name, sizeof name, "drf_%Y%m%d_%H%M%S.mp4", &t);
      testing_support::WriteFile(card / (i % 4 == 0 ? "EVENT" : "CONTINUOUS") / name,
                                 movie + Record(start, 60, i % 60));
    }
  }
  const std::string command = std::string(BLACKBOX_EXE) + " events " + ShellQuoted(card.path().string());
  for (auto _ : state) Run(command);
  state.counters["recordings"] = kRecordings;
}
BENCHMARK(BM_Events)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
