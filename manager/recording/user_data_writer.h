#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace recording {

// Writes the camera's sensor record, for test data, benchmarks and the sample card: the
// top-level `udta` box with its time, GPS and G-sensor tables back to back.
struct UserDataContent {
  std::string timeType = "TIME";              // "TIME" or "RTCD"
  std::vector<std::int32_t> times;            // seconds since 1970, UTC
  std::vector<std::string> gpsSentences;      // each cut or zero-padded to 64 bytes
  std::vector<std::array<float, 3>> gsensor;  // stored order: offsets 0, 4, 8
};

// One MP4 box: 32-bit big-endian size (header included), the type, the payload.
std::string BuildBox(std::string_view type, std::string_view payload);

std::string BuildUserDataBox(const UserDataContent& content);

// A "$GPRMC" sentence as the camera's receiver writes it, with its checksum.
// `valid` false gives status V.
std::string FormatRmcSentence(std::time_t utc, double latitude, double longitude, double knots, double course,
                              bool valid = true);

}  // namespace recording
