#include "tracker/log/rmc_record.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/nmea_sentence.h"
#include "tracker/log/degrees_text.h"
#include "tracker/log/field_text.h"
#include "tracker/log/text_number.h"

namespace tracker {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

double Degrees(std::int64_t n, double fraction, bool negate) {
  const std::int64_t whole_degrees = n / 100;  // dddmm: the minutes are the last two digits
  const double degrees = (static_cast<double>(n % 100) + fraction) / 60.0 + static_cast<double>(whole_degrees);
  return negate ? -degrees : degrees;
}

// Converts one coordinate field ("ddmm.mmmm" or "dddmm.mmmm") into decimal degrees.
// Returns false for an integer part too long to be a coordinate.
bool ParseCoordinate(std::string_view field, bool negate, double& degrees) {
  // The usual field, digits and a point, in one pass; the same arithmetic as below.
  std::size_t i = 0;
  std::int64_t whole_value = 0;
  for (; i < field.size() && i < 9 && IsDigit(field[i]); ++i) whole_value = whole_value * 10 + (field[i] - '0');
  if (i == field.size() || field[i] == '.') {
    std::uint64_t fraction_digits = 0;
    const std::size_t first = i == field.size() ? i : i + 1;
    std::size_t j = first;
    for (; j < field.size() && j - first < 16 && IsDigit(field[j]); ++j) {
      fraction_digits = fraction_digits * 10 + static_cast<std::uint64_t>(field[j] - '0');
    }
    if (j == field.size() && j - first <= 15) {
      degrees = Degrees(whole_value, static_cast<double>(fraction_digits) / kPowersOfTen[j - first], negate);
      return true;
    }
  }

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
  degrees = Degrees(n, fraction, negate);
  return true;
}

int Digits2(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// "$" and a talker of two capital letters ("GP", "GN", "GL", "BD", ...) before "RMC,".
bool IsRmcAddress(std::string_view text) {
  return text.size() > 6 && text[0] == '$' && text[1] >= 'A' && text[1] <= 'Z' && text[2] >= 'A' && text[2] <= 'Z' &&
         text.substr(3, 4) == "RMC,";
}

// A byte mask with 0x80 in every byte of `word` that is zero (exact, no carries between bytes).
std::uint64_t ZeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// Finds the end of the sentence (its NUL or the record's end), its first '*' and the positions of
// its first ten commas (comma[1] is the first), eight bytes at a time: this is the reader's
// inner loop.
std::size_t ScanRecord(std::span<const char, kGpsRecordSize> record, std::array<std::size_t, 11>& comma,
                       std::size_t& commas, std::size_t& star) {
  star = kNotFound;
  if constexpr (std::endian::native == std::endian::little) {
    for (std::size_t base = 0; base < kGpsRecordSize; base += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, record.data() + base, sizeof word);
      const std::uint64_t zeros = ZeroBytes(word);
      std::uint64_t hits = ZeroBytes(word ^ 0x2C2C2C2C2C2C2C2CULL);   // ','
      std::uint64_t stars = ZeroBytes(word ^ 0x2A2A2A2A2A2A2A2AULL);  // '*'
      const int end = zeros ? std::countr_zero(zeros) / 8 : 8;
      if (end < 8) {
        hits &= (std::uint64_t{1} << (8 * end)) - 1;
        stars &= (std::uint64_t{1} << (8 * end)) - 1;
      }
      if (stars != 0 && star == kNotFound) star = base + static_cast<std::size_t>(std::countr_zero(stars) / 8);
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
      if (record[length] == '*' && star == kNotFound) star = length;
    }
    return length;
  }
}

}  // namespace

bool ParseRmcRecord(std::span<const char, kGpsRecordSize> record, TrackPoint& point) {
  std::array<std::size_t, 11> comma{};
  std::size_t commas = 0;
  std::size_t star = kNotFound;
  const std::size_t length = ScanRecord(record, comma, commas, star);
  std::string_view text(record.data(), length);
  if (!IsRmcAddress(text)) return false;
  // One flipped character can move a fix by a continent; a receiver's checksum catches it.
  if (common::CheckNmeaChecksum(text, star) == common::NmeaChecksum::kBad) return false;
  // The fields end at the checksum.
  if (star != kNotFound) {
    text = text.substr(0, star);
    while (commas > 0 && comma[commas] >= star) --commas;
  }

  const auto field_after = [&](std::size_t k) {  // characters after comma k up to comma k+1
    const std::size_t begin = comma[k] + 1;
    const std::size_t end = k + 1 <= commas ? comma[k + 1] : text.size();
    return text.substr(begin, end - begin);
  };
  const auto char_after = [&](std::size_t k) { return comma[k] + 1 < text.size() ? text[comma[k] + 1] : '\0'; };

  if (commas < 2 || char_after(2) != 'A') return false;
  // Everything up to the date must be there; a cut sentence is not a fix.
  if (commas < 9) return false;

  // ddmmyy must be a real day: a damaged date would make a day row of its own.
  const std::string_view date = text.substr(comma[9] + 1, 6);
  if (date.size() != 6 || !AllDigits(date)) return false;
  const int two_digit_year = Digits2(date, 4);
  const int year = two_digit_year < 80 ? 2000 + two_digit_year : 1900 + two_digit_year;
  const int month = Digits2(date, 2);
  const int day = Digits2(date, 0);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;

  // hhmmss (a fraction may follow); a leap second is a real moment.
  const std::string_view time = field_after(1).substr(0, 6);
  if (time.size() != 6 || !AllDigits(time) || Digits2(time, 0) > 23 || Digits2(time, 2) > 59 || Digits2(time, 4) > 60) {
    return false;
  }

  const char ymd[8] = {static_cast<char>('0' + year / 1000),
                       static_cast<char>('0' + year / 100 % 10),
                       date[4],
                       date[5],
                       date[2],
                       date[3],
                       date[0],
                       date[1]};
  SetFieldText(point.date, std::string_view(ymd, 8));
  point.date_number = year * 10000 + month * 100 + day;
  SetFieldText(point.time, time);
  point.time_number = Digits2(time, 0) * 10000 + Digits2(time, 2) * 100 + Digits2(time, 4);

  double latitude = 0.0;
  double longitude = 0.0;
  if (!ParseCoordinate(field_after(3), char_after(4) == 'S', latitude) ||
      !ParseCoordinate(field_after(5), char_after(6) == 'W', longitude)) {
    return false;
  }
  SetDegreesText(point.latitude, latitude);
  SetDegreesText(point.longitude, longitude);
  point.reserved[0] = point.reserved[1] = '\0';

  // A speed longer than the field is cut; no real receiver writes one.
  SetFieldText(point.speed, field_after(7));
  return true;
}

}  // namespace tracker
