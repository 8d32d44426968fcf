#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tracker {

// One chunk of a GPS log file as the camera writes it.
struct GpsChunk {
  std::vector<std::string> sentences;  // each stored as one 64-byte NUL-padded record
  std::uint32_t skip_before_data = 0;  // filler bytes between the header and the data
  std::uint32_t skip_after_data = 0;   // filler bytes between the data and the next header
};

// The bytes of a GPS log file: per chunk a 48-byte header with the `GPS` tag, the skip before
// the data, the LZO1X-1 compressed records and the skip after them. Nothing when a sentence
// does not fit a record or a chunk holds more than a reader decompresses.
std::optional<std::string> EncodeGpsLog(std::span<const GpsChunk> chunks);

// Encodes and writes a GPS log file (atomically). False on a bad chunk or a failed write.
bool WriteGpsLog(const std::filesystem::path& path, std::span<const GpsChunk> chunks);

// A fix to be written as an RMC sentence.
struct GpsFix {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  double latitude = 0.0;   // degrees, south negative
  double longitude = 0.0;  // degrees, west negative
  double speed_knots = 0.0;
  bool valid = true;               // status A, else V
  std::string_view talker = "GP";  // "GN" for a multi-constellation receiver, "GL", "BD", ...
};

// "$GPRMC,hhmmss,A,ddmm.mmmm,N,dddmm.mmmm,E,sss.s,,ddmmyy,,*CS" (with the fix's talker in place
// of GP): short enough for a record.
std::string FormatGprmcSentence(const GpsFix& fix);

}  // namespace tracker
