#pragma once

#include <string>
#include <string_view>

namespace library {

// What a recording's path says about it. A name is "drf_YYYYMMDD?HHMMSS.mp4": the channel
// prefix, the start date, one separator that is never read, the start time. The folder tells
// why it was recorded. Both '/' and '\' separate path components (common/path_text.h). "Characters" are UTF-16
// code units, as on the camera's Windows-era software.

inline constexpr std::string_view kChannel1Prefix = "drf_";
inline constexpr std::string_view kChannel2Prefix = "drr_";
inline constexpr std::string_view kRecordingExtension = ".mp4";

// Ends in ".mp4", exactly: ".MP4" does not count.
bool HasRecordingExtension(std::string_view name);

// YYYY-MM-DD and HH:MM:SS from the name; out-of-form names give partial texts, never an error.
std::string RecordingDateText(std::string_view path);
std::string RecordingTimeText(std::string_view path);

// "SENS", "MANUAL", "CONTINUOUS" or "UNKNOWN", from the last 18 characters of the folder.
std::string_view RecordingCause(std::string_view path);

// The last 23 characters of the path: the name itself for names of the standard length.
std::string_view RecordingSortKey(std::string_view path);

// The channel-2 recording that goes with a channel-1 path: every "drf_" in the file name becomes
// "drr_"; the folders stay as they are.
std::string CompanionPath(std::string_view path);

}  // namespace library
