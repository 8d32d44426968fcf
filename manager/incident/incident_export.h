#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "manager/setup/profile.h"

namespace incident {

// What to export: a moment of a channel-1 recording and the seconds around it.
struct IncidentRequest {
  std::string recording;
  std::int64_t at = 0;  // 100 ns units into the recording
  std::int64_t before = 10'000'000 * 10LL;
  std::int64_t after = 10'000'000 * 10LL;
  std::filesystem::path folder;  // made by the export; must not hold anything unless `force`
  const setup::Profile* profile = &setup::kDualProfile;
  bool force = false;
  bool page = true;  // page.pdf; needs a running QGuiApplication
  std::string programVersion;
};

enum class ExportStatus {
  Ok,
  FolderInUse,  // the folder holds files already, and `force` was not given
  Refused,      // the request cannot be met as asked (the moment is not inside the recording)
  Unreadable,   // the recording cannot be read or played
  Failed,       // something could not be written or cut
  Cancelled,
};

struct IncidentResult {
  ExportStatus status = ExportStatus::Failed;
  std::string error;                  // one line, for everything but Ok and Cancelled
  std::vector<std::string> warnings;  // what is missing from the folder and why
  std::vector<std::string> files;     // the names written into the folder, SHA256SUMS last
};

// How far the export is, 0 to 1, and the step it is at (a file name); called on the export's
// thread.
using ExportProgress = std::function<void(double fraction, std::string_view step)>;

// Writes the incident folder: front.mp4 (and rear.mp4 in a two-channel profile) cut from the
// recordings without re-encoding, continuing into the recording before or after where the range
// runs over; page.pdf; track.gpx, track.kml and gsensor.csv of the range; summary.json; and
// SHA256SUMS over every file written and every source recording (by its path relative to the
// folder, so `sha256sum -c SHA256SUMS` run in the folder checks them while the card sits beside
// it). Everything is written into a temporary folder beside `folder` and renamed to it at the
// end, so a failure or a cancel leaves no half folder. `cancel` may be set from any thread.
IncidentResult ExportIncident(const IncidentRequest& request, const std::atomic<bool>* cancel = nullptr,
                              const ExportProgress& progress = {});

}  // namespace incident
