// What `blackbox trips` does to a card's worth of GPS logs: read 1,000 files holding
// 1,000,000 fixes of realistic drives, filter, sort, cut into rows and sum the statistics.
// Prints points per second and the heap peak of a scan against the size of the point store, end
// to end and for reading alone, on one CPU and on all, the speed-up of all over one, and the
// milliseconds of each phase (wall, and CPU of the scan's own thread).

#include <benchmark/benchmark.h>
#include <sched.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tracker/log/callback_scan_host.h"
#include "tracker/log/gps_log_reader.h"
#include "tracker/log/gps_log_writer.h"
#include "tracker/log/log_folder_reader.h"
#include "tracker/log/outlier_filter.h"
#include "tracker/log/track_document.h"
#include "tracker/log/trip_builder.h"
#include "tracker/log/trip_database.h"

// Heap accounting: every allocation carries its size in front, so the live total and its peak
// are known exactly.
namespace {
std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  const std::size_t live = g_live.fetch_add(size, std::memory_order_relaxed) + size;
  std::size_t peak = g_peak.load(std::memory_order_relaxed);
  while (live > peak && !g_peak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return block + kHeader;
}

void Release(void* pointer) {
  if (!pointer) return;
  auto* block = static_cast<unsigned char*>(pointer) - kHeader;
  g_live.fetch_sub(*reinterpret_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}

// Over-aligned blocks (the point store) keep their size one alignment step in front.
void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  const auto step = static_cast<std::size_t>(alignment);
  auto* block = static_cast<unsigned char*>(std::aligned_alloc(step, (size + 2 * step - 1) / step * step));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  const std::size_t live = g_live.fetch_add(size, std::memory_order_relaxed) + size;
  std::size_t peak = g_peak.load(std::memory_order_relaxed);
  while (live > peak && !g_peak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return block + step;
}

void ReleaseAligned(void* pointer, std::align_val_t alignment) {
  if (!pointer) return;
  auto* block = static_cast<unsigned char*>(pointer) - static_cast<std::size_t>(alignment);
  g_live.fetch_sub(*reinterpret_cast<std::size_t*>(block), std::memory_order_relaxed);
  std::free(block);
}
}  // namespace

void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void operator delete(void* pointer, std::align_val_t alignment) noexcept { ReleaseAligned(pointer, alignment); }
void operator delete[](void* pointer, std::align_val_t alignment) noexcept { ReleaseAligned(pointer, alignment); }
void operator delete(void* pointer, std::size_t, std::align_val_t alignment) noexcept {
  ReleaseAligned(pointer, alignment);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t alignment) noexcept {
  ReleaseAligned(pointer, alignment);
}

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }

namespace {

constexpr tracker::DatabaseMagic kKelMagic = {'.', 'K', 'E', 'L'};
constexpr int kFiles = 1000;
constexpr int kFixesPerFile = 1000;
constexpr int kFixesPerChunk = 60;

// One file is about 17 minutes of driving: speeds that rise and fall between 0 and about
// 110 km/h with red-light stops, a heading that wanders, a pause of 5 minutes to a night
// between files, as a camera on a commuter's car records them.
const std::filesystem::path& LogFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "blackbox_bench_trips";
    // The logs are the same every time (fixed seed): keep a complete set from an earlier run.
    if (std::filesystem::exists(path / "GPS_0999.log")) return path;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    std::mt19937 random(20130101);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double latitude = 37.5, longitude = 127.0, heading = 0.0, speed = 0.0;  // knots
    long long clock = 1356998400 + 8 * 3600;                                // 2013-01-01 08:00 UTC
    for (int file = 0; file < kFiles; ++file) {
      std::vector<tracker::GpsChunk> chunks;
      for (int i = 0; i < kFixesPerFile; ++i) {
        if (i % kFixesPerChunk == 0) chunks.push_back({{}, 0, 0});
        if (unit(random) < 0.004) speed = 0.0;  // a stop
        speed = std::clamp(speed + (unit(random) - 0.45) * 3.0, 0.0, 60.0);
        heading += (unit(random) - 0.5) * 0.2;
        const double metres = speed * 1852.0 / 3600.0;
        latitude += metres * std::cos(heading) / 111320.0;
        longitude += metres * std::sin(heading) / (111320.0 * std::cos(latitude * M_PI / 180.0));
        const long long day = clock / 86400;
        const int second = static_cast<int>(clock % 86400);
        // Civil date of the day number (days since 1970-01-01).
        const long long z = day + 719468, era = z / 146097, doe = z - era * 146097;
        const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
        const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        tracker::GpsFix fix{.year = static_cast<int>(yoe + era * 400 + (month <= 2)),
                            .month = month,
                            .day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1),
                            .hour = second / 3600,
                            .minute = second / 60 % 60,
                            .second = second % 60,
                            .latitude = latitude,
                            .longitude = longitude,
                            .speed_knots = speed};
        chunks.back().sentences.push_back(tracker::FormatGprmcSentence(fix));
        ++clock;
      }
      clock += unit(random) < 0.2 ? 12 * 3600 : 300 + static_cast<long long>(unit(random) * 3600);
      char name[32];
      std::snprintf(name, sizeof name, "GPS_%04d.log", file);
      tracker::WriteGpsLog(path / name, chunks);
    }
    return path;
  }();
  return folder;
}

// Runs the calling thread, and every thread it starts, on the first CPU only (`one_core`) or on
// all the CPUs the process was given; the scan's threads inherit it.
class CoreChoice {
 public:
  explicit CoreChoice(bool one_core) {
    sched_getaffinity(0, sizeof all_, &all_);
    if (!one_core) return;
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
      if (CPU_ISSET(cpu, &all_)) {
        CPU_SET(cpu, &one);
        break;
      }
    }
    sched_setaffinity(0, sizeof one, &one);
  }
  ~CoreChoice() { sched_setaffinity(0, sizeof all_, &all_); }
  CoreChoice(const CoreChoice&) = delete;
  CoreChoice& operator=(const CoreChoice&) = delete;

 private:
  cpu_set_t all_{};
};

// Points per second of the last run of each benchmark, on one core (index 1) and on all (0).
std::map<std::string, std::array<double, 2>> g_rates;
// Milliseconds per 1 M points of each phase of the last end-to-end run, by cores: wall time and
// the scan thread's CPU time.
std::map<std::string, std::map<std::string, std::array<double, 2>>> g_stages;

void Record(const std::string& name, bool one_core, double points, double seconds) {
  g_rates[name][one_core ? 1 : 0] = points / seconds;
}

// CPU seconds of the calling thread: with the machine to itself, the scan's thread is the
// critical path (the helpers run beside it), so this estimates the wall time of an idle machine.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// End to end: list, read, filter, sort, cut and sum, as `blackbox trips` does.
void BM_ScanTrips(benchmark::State& state) {
  const std::filesystem::path& folder = LogFolder();
  const bool one_core = state.range(0) == 1;
  const CoreChoice cores(one_core);
  std::size_t points = 0;
  std::size_t rows = 0;
  std::size_t peak = 0;
  double seconds = 0;
  double scan_thread_seconds = 0;
  // Where the time goes: each phase lasts from its first progress report to the next phase's.
  std::map<tracker::ScanPhase, double> phase_seconds;
  // The same in CPU time of the scan's thread: what each phase would last on an idle machine.
  std::map<tracker::ScanPhase, double> phase_thread_seconds;
  for (auto _ : state) {
    tracker::TrackDocument document;
    const auto start = std::chrono::steady_clock::now();
    tracker::ScanPhase phase = tracker::ScanPhase::kReading;
    auto phase_start = start;
    double phase_thread_start = ThreadSeconds();
    tracker::CallbackScanHost host([&](int, tracker::ScanPhase now) {
      if (now == phase) return;
      const auto time = std::chrono::steady_clock::now();
      const double thread_time = ThreadSeconds();
      phase_seconds[phase] += std::chrono::duration<double>(time - phase_start).count();
      phase_thread_seconds[phase] += thread_time - phase_thread_start;
      phase = now;
      phase_start = time;
      phase_thread_start = thread_time;
    });
    const std::size_t before = g_live.load();
    g_peak.store(before);
    const double thread_start = ThreadSeconds();
    const tracker::OpenResult result =
        tracker::Open(folder, tracker::TimeZoneOffsetAt(tracker::kDefaultTimeZoneIndex), kKelMagic, document, host);
    seconds += Seconds(start);
    scan_thread_seconds += ThreadSeconds() - thread_start;
    if (result != tracker::OpenResult::kRowsReady) {
      state.SkipWithError("scan failed");
      return;
    }
    peak = std::max(peak, g_peak.load() - before);
    points = document.points.size();
    rows = document.trips.rows.size();
    benchmark::DoNotOptimize(document);
  }
  Record("end to end", one_core, static_cast<double>(kFiles * kFixesPerFile) * static_cast<double>(state.iterations()),
         seconds);
  if (!one_core) {
    Record("end to end, scan thread's CPU (idle estimate)", false,
           static_cast<double>(kFiles * kFixesPerFile) * static_cast<double>(state.iterations()), scan_thread_seconds);
  }
  const double store = static_cast<double>(points * sizeof(tracker::TrackPoint));
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(kFiles * kFixesPerFile), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["points"] = static_cast<double>(points);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["store_MB"] = store / 1e6;
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["peak/store"] = static_cast<double>(peak) / store;
  const auto per_run_ms = [&](tracker::ScanPhase phase) {
    return phase_seconds[phase] * 1e3 / static_cast<double>(state.iterations());
  };
  state.counters["read_ms"] = per_run_ms(tracker::ScanPhase::kReading);
  state.counters["filter_ms"] = per_run_ms(tracker::ScanPhase::kFiltering);
  state.counters["sort_ms"] = per_run_ms(tracker::ScanPhase::kSorting);
  state.counters["cut_sum_ms"] = per_run_ms(tracker::ScanPhase::kCutting);
  const std::string cpus = one_core ? "one core" : "all CPUs";
  for (const auto& [phase, name] :
       {std::pair{tracker::ScanPhase::kReading, "read"}, std::pair{tracker::ScanPhase::kFiltering, "filter"},
        std::pair{tracker::ScanPhase::kSorting, "sort"}, std::pair{tracker::ScanPhase::kCutting, "cut and sum"}}) {
    g_stages[cpus][name] = {per_run_ms(phase),
                            phase_thread_seconds[phase] * 1e3 / static_cast<double>(state.iterations())};
  }
}

BENCHMARK(BM_ScanTrips)
    ->ArgName("one_core")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The passes one by one, to see where the time goes.
std::vector<tracker::LogFile> LogFiles() {
  std::vector<tracker::LogFile> files;
  tracker::ListLogFiles(LogFolder(), files);
  return files;
}

// Reading alone: every file of the folder read and parsed into one store, in name order.
void BM_ReadFolder(benchmark::State& state) {
  const auto files = LogFiles();
  const bool one_core = state.range(0) == 1;
  const CoreChoice cores(one_core);
  double seconds = 0;
  for (auto _ : state) {
    tracker::PointStore points;
    tracker::CallbackScanHost host;
    const auto start = std::chrono::steady_clock::now();
    tracker::ReadLogFiles(files, points, host);
    seconds += Seconds(start);
    benchmark::DoNotOptimize(points.data());
  }
  Record("reading", one_core, static_cast<double>(kFiles * kFixesPerFile) * static_cast<double>(state.iterations()),
         seconds);
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(kFiles * kFixesPerFile), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadFolder)
    ->ArgName("one_core")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

tracker::PointStore ReadAll() {
  tracker::PointStore points;
  tracker::GpsLogBuffers buffers;
  std::atomic<bool> cancel{false};
  for (const auto& file : LogFiles()) tracker::ReadGpsLogFile(file.path, buffers, points, cancel);
  return points;
}

void BM_FilterOutliers(benchmark::State& state) {
  const tracker::PointStore read = ReadAll();
  for (auto _ : state) {
    state.PauseTiming();
    tracker::PointStore points = read;
    tracker::CallbackScanHost host;
    state.ResumeTiming();
    tracker::FilterOutliers(points, host);
    benchmark::DoNotOptimize(points.data());
  }
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(read.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FilterOutliers)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime()->MeasureProcessCPUTime();

void BM_BuildTrips(benchmark::State& state) {
  tracker::PointStore filtered = ReadAll();
  tracker::CallbackScanHost filter_host;
  tracker::FilterOutliers(filtered, filter_host);
  for (auto _ : state) {
    state.PauseTiming();
    tracker::PointStore points = filtered;
    tracker::CallbackScanHost host;
    state.ResumeTiming();
    auto list = tracker::BuildTrips(points, tracker::TimeZoneOffsetAt(71), true, host);
    benchmark::DoNotOptimize(list);
  }
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(filtered.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BuildTrips)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  // The other engineers' builds share these cores: the figures are as good as the machine was idle.
  std::printf("\n%u CPUs\n", std::thread::hardware_concurrency());
  for (const auto& [name, rates] : g_rates) {
    if (rates[1] == 0) {
      std::printf("%s: %.2f M points/s\n", name.c_str(), rates[0] / 1e6);
      continue;
    }
    std::printf("%-11s %6.2f M points/s on all CPUs, %6.2f M on one: speed-up %.2f\n", name.c_str(), rates[0] / 1e6,
                rates[1] / 1e6, rates[0] / rates[1]);
  }
  for (const auto& [cores, stages] : g_stages) {
    std::printf("stages on %s, ms per 1 M points (wall / scan thread's CPU):", cores.c_str());
    for (const auto& [name, ms] : stages) std::printf("  %s %.0f / %.0f", name.c_str(), ms[0], ms[1]);
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
