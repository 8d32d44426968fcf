#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "manager/recording/samples.h"

namespace output {

// The name the save dialog proposes for a snapshot: the recording's name from "drf_" without
// its last four characters (".mp4"), then "_" and the minute and second of the recording time
// (UTC, no leading zeros) and ".jpg". 10:15:07 in drf_20110705_101507.mp4 gives
// drf_20110705_101507_157.jpg. Without a time sample (or with one that is no time) the minute
// and second are 0. A name without "drf_" is taken from its start.
std::string ProposedSnapshotName(std::string_view recordingPath, std::optional<recording::TimeSample> time);

// Where channel 2's picture goes when channel 1's goes to `chosen`: x.jpg gives x.jpg.drr.jpg.
std::string CompanionSnapshotPath(std::string_view chosen);

}  // namespace output
