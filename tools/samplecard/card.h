#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/samplecard/route.h"

namespace samplecard {

enum class Preset { Small, Demo, Large };

struct CardOptions {
  std::uint64_t seed = 1;
  int days = 2;  // days of GPS logs
  int drivesPerDay = 3;
  int minDriveSeconds = 600;
  int maxDriveSeconds = 2400;
  int fixesPerLogFile = 1000;  // about; a file never spans two drives
  int recordings = 6;          // channel-1 recordings, special cases included; 0 for none
  int recordingSeconds = 2;
};

// The presets: small (tests), demo (a card that looks real), large (benchmarks).
CardOptions PresetOptions(Preset preset);
std::optional<Preset> PresetNamed(std::string_view name);

enum class RecordingKind {
  Normal,
  NoUserData,     // no udta box at all
  DamagedMovie,   // the movie header's type is damaged, so the file cannot be played
  RtcdTimeTable,  // the time table is tagged RTCD instead of TIME
  NoCompanion,    // a front recording without its rear drr_ file
};

// What was written, so that tests can check the readers against it.
struct RecordingInfo {
  std::filesystem::path front;
  std::optional<std::filesystem::path> rear;
  std::string cause;  // the cause folder
  RecordingKind kind = RecordingKind::Normal;
  std::time_t start = 0;
  std::vector<RouteFix> fixes;                // one a second, as written into the GPS table
  std::vector<std::array<float, 3>> gsensor;  // ten a second, stored order
};

struct LogFileInfo {
  std::filesystem::path path;
  std::size_t records = 0;     // 64-byte records, whatever they hold
  std::size_t validFixes = 0;  // $GPRMC with status A
  bool copy = false;           // the same bytes as another log file
};

struct CardManifest {
  std::vector<RecordingInfo> recordings;
  std::vector<std::filesystem::path> stubs;
  std::vector<LogFileInfo> logs;
  std::filesystem::path setupFile;
  std::size_t validFixes = 0;            // over all log files, copies included
  std::int64_t cameraOffsetSeconds = 0;  // the camera's zone in Setup.ini: recording names are UTC plus this
};

// Where things go on the card.
inline constexpr std::string_view kLogFolder = "GPSLOG";

// Writes a card into `out` (created if needed). The same options give the same bytes.
// `progress` hears a line now and then. Throws std::runtime_error when a file cannot be
// written or ffmpeg fails.
CardManifest WriteCard(const std::filesystem::path& out, const CardOptions& options,
                       const std::function<void(std::string_view)>& progress = {});

}  // namespace samplecard
