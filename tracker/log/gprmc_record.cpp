#include "tracker/log/gprmc_record.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "tracker/log/field_text.h"
#include "tracker/log/fixed_decimal.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Converts one coordinate field ("ddmm.mmmm" or "dddmm.mmmm") into decimal degrees.
// Returns false for an integer part too long to be a coordinate.
bool ParseCoordinate(std::string_view field, bool negate, double& degrees) {
  const std::size_t dot = field.find('.');
  const std::string_view whole = field.substr(0, dot);
  if (whole.size() > 15) return false;
  const std::int64_t n = TextToInt(whole);

  // The fraction is the decimal number 0.<digits>, converted exactly as text would be.
  double fraction = 0.0;
  if (dot != kNotFound) {
    const std::string_view digits = field.substr(dot + 1);
    if (digits.size() > 15) return false;
    fraction = FractionValue(digits);
  }
  degrees = (static_cast<double>(n % 100) + fraction) / 60.0 + static_cast<double>(n / 100);
  if (negate) degrees = -degrees;
  return true;
}

// "%.6f" of the value cut to the characters the camera's format keeps: 8 for a latitude, 9 for
// a longitude, one less than the field holds (so a 2-digit latitude keeps five decimals).
template <std::size_t N>
void SetDegreesText(char (&field)[N], double degrees) {
  char buffer[64];
  const std::size_t length = FormatFixed6(degrees, buffer);
  SetFieldText(field, std::string_view(buffer, length).substr(0, N - 2));
}

// A byte mask with 0x80 in every byte of `word` that is zero (exact, no carries between bytes).
std::uint64_t ZeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// Finds the end of the sentence (its NUL or the record's end) and the positions of its first
// ten commas (comma[1] is the first), eight bytes at a time: this is the reader's inner loop.
std::size_t ScanRecord(std::span<const char, kGpsRecordSize> record,
                       std::array<std::size_t, 11>& comma, std::size_t& commas) {
  if constexpr (std::endian::native == std::endian::little) {
    for (std::size_t base = 0; base < kGpsRecordSize; base += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, record.data() + base, sizeof word);
      const std::uint64_t zeros = ZeroBytes(word);
      std::uint64_t hits = ZeroBytes(word ^ 0x2C2C2C2C2C2C2C2CULL);  // ','
      const int end = zeros ? std::countr_zero(zeros) / 8 : 8;
      if (end < 8) hits &= (std::uint64_t{1} << (8 * end)) - 1;
      for (; hits != 0 && commas + 1 < comma.size(); hits &= hits - 1) {
        comma[++commas] = base + static_cast<std::size_t>(std::countr_zero(hits) / 8);
      }
      if (end < 8) return base + static_cast<std::size_t>(end);
    }
    return kGpsRecordSize;
  } else {
    std::size_t length = 0;
    for (; length < record.size() && record[length] != '\0'; ++length) {
      if (record[length] == ',' && commas + 1 < comma.size()) comma[++commas] = length;
    }
    return length;
  }
}

}  // namespace

std::optional<TrackPoint> ParseGprmcRecord(std::span<const char, kGpsRecordSize> record) {
  std::array<std::size_t, 11> comma{};
  std::size_t commas = 0;
  const std::size_t length = ScanRecord(record, comma, commas);
  const std::string_view text(record.data(), length);
  if (!text.starts_with("$GPRMC")) return std::nullopt;

  const auto field_after = [&](std::size_t k) {  // characters after comma k up to comma k+1
    const std::size_t begin = comma[k] + 1;
    const std::size_t end = k + 1 <= commas ? comma[k + 1] : text.size();
    return text.substr(begin, end - begin);
  };
  const auto char_after = [&](std::size_t k) {
    return comma[k] + 1 < text.size() ? text[comma[k] + 1] : '\0';
  };

  if (commas < 2 || char_after(2) != 'A') return std::nullopt;
  // Everything up to the date must be there; a cut sentence is not a fix.
  if (commas < 9) return std::nullopt;

  const std::string_view date = text.substr(comma[9] + 1, 6);
  if (date.size() != 6 || !IsDigit(date[0]) || !IsDigit(date[1]) || !IsDigit(date[2]) ||
      !IsDigit(date[3]) || !IsDigit(date[4]) || !IsDigit(date[5])) {
    return std::nullopt;
  }

  TrackPoint point{};
  // ddmmyy -> YYYYMMDD; years whose tens digit is 1-4 are 20xx, every other one 19xx.
  const char tens = date[4];
  const bool twenty_first = tens >= '1' && tens <= '4';
  const char ymd[8] = {twenty_first ? '2' : '1', twenty_first ? '0' : '9', date[4], date[5],
                       date[2], date[3], date[0], date[1]};
  SetFieldText(point.date, std::string_view(ymd, 8));
  point.date_number = TextToInt(std::string_view(ymd, 8));

  const std::string_view time = text.substr(comma[1] + 1, 6);
  SetFieldText(point.time, time);
  point.time_number = TextToInt(time);

  double latitude = 0.0;
  double longitude = 0.0;
  if (!ParseCoordinate(field_after(3), char_after(4) == 'S', latitude) ||
      !ParseCoordinate(field_after(5), char_after(6) == 'W', longitude)) {
    return std::nullopt;
  }
  SetDegreesText(point.latitude, latitude);
  SetDegreesText(point.longitude, longitude);

  // A speed longer than the field is cut; no real receiver writes one.
  SetFieldText(point.speed, field_after(7));
  return point;
}

}  // namespace tracker
