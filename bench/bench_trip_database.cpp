// Saving and loading a trip database of about 1,000,000 points: the card of the sample
// generator's large preset, scanned once, then written and read back as the window does.
// Prints the time of each, the two together, and the file's size.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "tools/samplecard/card.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/track_document.h"
#include "tracker/log/trip_database.h"

namespace {

const tracker::TimeZoneOffset kSeoul = tracker::TimeZoneOffsetAt(tracker::kDefaultTimeZoneIndex);
constexpr tracker::DatabaseMagic kKelMagic = {'.', 'K', 'E', 'L'};

std::filesystem::path Scratch() { return std::filesystem::temp_directory_path() / "blackbox_bench_trip_database"; }

// The scanned card, made once per run.
const tracker::TrackDocument& Scanned() {
  static const tracker::TrackDocument document = [] {
    const std::filesystem::path card = Scratch() / "card";
    std::filesystem::remove_all(Scratch());
    samplecard::WriteCard(card, samplecard::PresetOptions(samplecard::Preset::Large));
    tracker::TrackDocument scanned;
    tracker::CallbackScanHost host;
    tracker::Open(card / samplecard::kLogFolder, kSeoul, kKelMagic, scanned, host);
    return scanned;
  }();
  return document;
}

std::vector<tracker::TripRecord> ListedRows(const tracker::TrackDocument& document) {
  std::vector<tracker::TripRecord> rows;
  for (const std::int32_t index : document.trips.order)
    rows.push_back(document.trips.rows[static_cast<std::size_t>(index)]);
  return rows;
}

void SetCounters(benchmark::State& state, const std::filesystem::path& file) {
  const tracker::TrackDocument& document = Scanned();
  state.counters["points"] = static_cast<double>(document.points.size());
  state.counters["rows"] = static_cast<double>(document.trips.rows.size());
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  state.counters["store_MB"] = static_cast<double>(document.points.size() * sizeof(tracker::TrackPoint)) / 1e6;
}

void BM_Save(benchmark::State& state) {
  const tracker::TrackDocument& document = Scanned();
  const std::vector<tracker::TripRecord> rows = ListedRows(document);
  const auto file = Scratch() / "trips.KEL";
  for (auto _ : state) {
    if (!tracker::SaveTripDatabase(file, rows, document.points, kKelMagic)) {
      state.SkipWithError("save failed");
      return;
    }
  }
  SetCounters(state, file);
}

void BM_Load(benchmark::State& state) {
  const tracker::TrackDocument& document = Scanned();
  const auto file = Scratch() / "trips.KEL";
  tracker::SaveTripDatabase(file, ListedRows(document), document.points, kKelMagic);
  for (auto _ : state) {
    tracker::TrackDocument loaded;
    if (tracker::LoadTripDatabase(file, kKelMagic, kSeoul, loaded) != tracker::DatabaseError::kNone) {
      state.SkipWithError("load failed");
      return;
    }
    benchmark::DoNotOptimize(loaded);
  }
  SetCounters(state, file);
}

void BM_SaveThenLoad(benchmark::State& state) {
  const tracker::TrackDocument& document = Scanned();
  const std::vector<tracker::TripRecord> rows = ListedRows(document);
  const auto file = Scratch() / "trips.KEL";
  for (auto _ : state) {
    tracker::TrackDocument loaded;
    if (!tracker::SaveTripDatabase(file, rows, document.points, kKelMagic) ||
        tracker::LoadTripDatabase(file, kKelMagic, kSeoul, loaded) != tracker::DatabaseError::kNone) {
      state.SkipWithError("save or load failed");
      return;
    }
    benchmark::DoNotOptimize(loaded);
  }
  SetCounters(state, file);
}

BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SaveThenLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
