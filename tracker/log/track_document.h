#pragma once

#include <array>
#include <filesystem>

#include "tracker/log/scan_host.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/track_point.h"
#include "tracker/log/trip_list.h"

namespace tracker {

// The tracker's document: the fixes of the open folder and the rows cut from them.
struct TrackDocument {
  PointStore points;
  TripList trips;
};

enum class OpenResult {
  kRowsReady,    // rows were built; the host heard RowsReady
  kNoData,       // no usable fix; the host heard NoDataNotice
  kOutOfMemory,  // the fixes did not fit in memory; the host heard NoDataNotice
  kCancelled,    // the host's cancel flag stopped the scan
  kMissing,      // the path does not exist; nothing was touched
  kRefusedFile,  // a file that is not a sound trip database of this build; nothing was touched
  kUnreadable,   // the folder could not be listed
};

// One line saying what a result means, for messages.
const char* Describe(OpenResult result);

// Reads every regular file of `folder` (in name order) as a GPS log, filters, sorts and cuts
// the fixes into rows for `zone`. The document is cleared first.
OpenResult ScanFolder(const std::filesystem::path& folder, TimeZoneOffset zone, TrackDocument& document,
                      ScanHost& host);

enum class DatabaseError;

// The scan thread's entry: a folder is scanned; a file is loaded as a trip database whose
// magic is `magic`. When a file is refused, `refused` (if given) says why.
OpenResult Open(const std::filesystem::path& path, TimeZoneOffset zone, const std::array<char, 4>& magic,
                TrackDocument& document, ScanHost& host, DatabaseError* refused = nullptr);

}  // namespace tracker
