#include "manager/timeline/camera_zone.h"

#include <charconv>
#include <string>

#include "common/file_reader.h"
#include "common/trim.h"
#include "manager/setup/camera_time_zones.h"

namespace timeline {
namespace {

constexpr std::int64_t kHour = 3600;
// Setup.ini is a few hundred bytes; a card holding more there is not worth reading.
constexpr std::uint64_t kMostSetupBytes = 64 * 1024;

// A leading decimal integer with an optional sign; none without digits.
std::optional<int> LeadingInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  return value;
}

std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
  if (at + 2 > text.size()) return std::nullopt;
  const char a = text[at], b = text[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
  return (a - '0') * 10 + (b - '0');
}

}  // namespace

std::optional<std::int64_t> ZoneTextOffset(std::string_view text) {
  const std::size_t gmt = text.find("GMT");
  if (gmt == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(gmt + 3);
  if (rest.starts_with(")")) return 0;
  if (!rest.starts_with(" +") && !rest.starts_with(" -")) return std::nullopt;
  const bool negative = rest[1] == '-';
  const auto hours = TwoDigits(rest, 2);
  const auto minutes = TwoDigits(rest, 5);
  if (!hours || !minutes || rest.size() < 5 || rest[4] != ':') return std::nullopt;
  const std::int64_t seconds = *hours * kHour + *minutes * 60;
  return negative ? -seconds : seconds;
}

std::optional<std::int64_t> CameraZoneOffset(int index, bool daylightSaving) {
  if (index < 0 || index >= static_cast<int>(setup::kCameraTimeZones.size())) return std::nullopt;
  const auto offset = ZoneTextOffset(setup::kCameraTimeZones[static_cast<std::size_t>(index)]);
  if (!offset) return std::nullopt;
  return *offset + (daylightSaving ? kHour : 0);
}

CameraZone CameraZoneOfSetupText(std::string_view text, std::int64_t fallbackOffsetSeconds) {
  std::optional<int> zone;
  bool daylightSaving = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

    // As the setup reader: the first '=' splits the line, semicolons leave the value, keys are
    // compared exactly and sections are not tracked; the last line of a key wins.
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = common::Trim(line.substr(0, eq));
    std::string value;
    for (char c : line.substr(eq + 1)) {
      if (c != ';') value.push_back(c);
    }
    const std::string_view trimmed = common::Trim(std::string_view(value));
    if (trimmed.empty()) continue;
    if (key == "TimeZone") {
      zone = LeadingInteger(trimmed).value_or(0);
    } else if (key == "DST") {
      daylightSaving = LeadingInteger(trimmed).value_or(0) != 0;
    }
  }
  if (zone) {
    if (const auto offset = CameraZoneOffset(*zone, daylightSaving)) return {*offset, true};
  }
  return {fallbackOffsetSeconds, false};
}

CameraZone ReadCameraZone(const std::filesystem::path& card, std::int64_t fallbackOffsetSeconds) {
  const auto text = common::ReadFileRange(card / "SETUP" / "Setup.ini", 0, kMostSetupBytes);
  if (!text) return {fallbackOffsetSeconds, false};
  return CameraZoneOfSetupText(*text, fallbackOffsetSeconds);
}

}  // namespace timeline
