// Opening the sensor record of a long recording: how much of the file is read, and how long
// LoadUserData + ParseUserData take with the file in the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "manager/recording/sensor_record.h"
#include "manager/recording/user_data_writer.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMediaBytes = 200ull << 20;

struct Recording {
  fs::path path;
  std::size_t userDataBytes = 0;
};

// ftyp, 200 MB of media data, a movie header, and an hour of sensor data at the end.
const Recording& LongRecording() {
  static const Recording recording = [] {
    Recording r;
    r.path = fs::temp_directory_path() / "blackbox-bench-drf_20100101_000000.mp4";
    recording::UserDataContent content;
    for (int s = 0; s < 3600; ++s) {
      content.times.push_back(1262304000 + s);
      content.gpsSentences.push_back(recording::FormatRmcSentence(1262304000 + s, 37.5, 127.0, 30.0, 90.0));
      for (int k = 0; k < 10; ++k) content.gsensor.push_back({0.01f * k, -0.02f, 0.98f});
    }
    const std::string userData = recording::BuildUserDataBox(content);
    r.userDataBytes = userData.size();

    const std::string ftyp = recording::BuildBox("ftyp", "isom\0\0\0\0isomavc1");
    std::string mdatHeader = recording::BuildBox("mdat", "");
    const std::uint32_t mdatSize = static_cast<std::uint32_t>(kMediaBytes + 8);
    mdatHeader[0] = char(mdatSize >> 24), mdatHeader[1] = char(mdatSize >> 16);
    mdatHeader[2] = char(mdatSize >> 8), mdatHeader[3] = char(mdatSize);
    const std::string moov = recording::BuildBox("moov", std::string(60000, '\0'));
    {
      std::ofstream out(r.path, std::ios::binary | std::ios::trunc);
      out << ftyp << mdatHeader;
      // Real bytes, not a hole, so that a whole-file read would really cost.
      const std::string chunk(1 << 20, 'v');
      for (std::uint64_t done = 0; done < kMediaBytes; done += chunk.size()) out << chunk;
      out << moov << userData;
    }
    return r;
  }();
  return recording;
}

void BM_LoadAndParseUserData(benchmark::State& state) {
  const Recording& r = LongRecording();
  std::uint64_t perOpen = 0;
  for (auto _ : state) {
    const std::uint64_t before = testing_support::BytesReadSoFar();
    recording::SensorRecord record;
    if (recording::LoadUserData(r.path.string(), record) != 0) state.SkipWithError("load failed");
    record.cursor = 0;
    if (recording::ParseUserData(record) != 0) state.SkipWithError("parse failed");
    perOpen = testing_support::BytesReadSoFar() - before;
    benchmark::DoNotOptimize(record);
  }
  state.counters["file_bytes"] = static_cast<double>(fs::file_size(r.path));
  state.counters["udta_bytes"] = static_cast<double>(r.userDataBytes);
  state.counters["bytes_read"] = static_cast<double>(perOpen);
  state.counters["read_beyond_udta"] = static_cast<double>(perOpen - r.userDataBytes);
}
BENCHMARK(BM_LoadAndParseUserData)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(LongRecording().path, ignored);  // the test data is large; leave nothing behind
  return 0;
}
