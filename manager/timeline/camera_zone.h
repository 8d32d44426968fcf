#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace timeline {

// The camera's clock: what it adds to UTC. Recording names hold the camera's local time, so
// this is what turns a name into a moment.
struct CameraZone {
  std::int64_t offsetSeconds = 0;
  bool fromCard = false;  // read from the card's Setup.ini rather than the fallback
};

// Seconds east of UTC of a camera time-zone text, "(GMT -03:30) Newfoundland"; "(GMT) ..." is
// UTC. None for a text that names no offset.
std::optional<std::int64_t> ZoneTextOffset(std::string_view text);

// The offset of the camera's time-zone entry `index` (0-83), an hour more with daylight saving.
std::optional<std::int64_t> CameraZoneOffset(int index, bool daylightSaving);

// The zone Setup.ini text sets (`TimeZone`, `DST`, read as the camera's tools read them), or the
// fallback when it names no valid `TimeZone`.
CameraZone CameraZoneOfSetupText(std::string_view text, std::int64_t fallbackOffsetSeconds);

// The same for a card folder's SETUP/Setup.ini; a card without one takes the fallback.
CameraZone ReadCameraZone(const std::filesystem::path& card, std::int64_t fallbackOffsetSeconds);

}  // namespace timeline
