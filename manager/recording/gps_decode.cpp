#include "manager/recording/gps_decode.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "common/nmea_sentence.h"
#include "common/trim.h"

namespace recording {
namespace {

constexpr std::size_t kWorkSize = 100;

// Reads a decimal number the way atof does: leading blanks and a '+' are skipped and the
// longest valid prefix counts; no number gives 0. Always the C locale.
float ParseFloat(std::string_view text) {
  text = common::TrimStart(text, [](char c) { return c == ' ' || c == '\t'; });
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  float value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() ? value : 0.0f;
}

// Walks the comma-separated fields of the sentence in the work buffer.
class FieldReader {
 public:
  FieldReader(const std::array<char, kWorkSize>& work, std::size_t start) : work_(work), next_(start) {}

  // The next field, at most `limit` characters; the field after it starts behind the comma
  // that ends this one.
  std::string_view Next(std::size_t limit) {
    const std::size_t start = next_;
    std::size_t end = start;
    while (end < work_.size() && work_[end] != ',' && work_[end] != '\0') ++end;
    next_ = end < work_.size() && work_[end] == ',' ? end + 1 : end;
    const std::size_t length = std::min(end - start, limit);
    return std::string_view(work_.data() + start, length);
  }

 private:
  const std::array<char, kWorkSize>& work_;
  std::size_t next_;
};

// A numeric field of fewer than 2 characters counts as empty.
float Numeric(std::string_view field) { return field.size() < 2 ? 0.0f : ParseFloat(field); }

char Letter(std::string_view field) { return field.empty() ? '\0' : field.front(); }

// ddmm.mmmm (or dddmm.mmmm) to decimal degrees, in single precision as the camera's
// software computes it. Nothing when the field is no angle of at most `limit` degrees: a
// damaged field ("1e30", "nan", "inf", "9999.9") must not become a place on the map.
std::optional<float> DegreesFromNmea(std::string_view field, float limit) {
  if (field.size() < 2) return 0.0f;  // empty
  const float value = ParseFloat(field);
  // Checked before the conversion to int, which a larger value would overflow.
  if (!(std::fabs(value) < (limit + 1.0f) * 100.0f)) return std::nullopt;
  const int degrees = static_cast<int>(value / 100.0f);
  const float minutes = value - static_cast<float>(degrees) * 100.0f;
  const float result = minutes / 60.0f + static_cast<float>(degrees);
  if (!(std::fabs(result) <= limit)) return std::nullopt;
  return result;
}

GpsFix NoFix() { return GpsFix{kNoFixMarker, kNoFixMarker, 0}; }

}  // namespace

GpsFix DecodeGpsSample(const GpsSample& sample) {
  std::array<char, kWorkSize> work{};
  std::memcpy(work.data(), sample.text.data(), sample.text.size());

  if (work[0] == '\0' && work[1] == 'G') work[0] = '$';
  if (work[0] != '$') return GpsFix{};
  // A damaged sentence whose checksum says so is no sentence: one flipped digit can move the
  // marker by hundreds of kilometres.
  const std::string_view sentence(work.data(), strnlen(work.data(), sample.text.size()));
  if (common::CheckNmeaChecksum(sentence) == common::NmeaChecksum::kBad) return GpsFix{};

  std::size_t addressLength = 0;
  while (addressLength < kWorkSize - 1 && work[addressLength] != ',' && work[addressLength] != '\0') {
    ++addressLength;
  }
  const auto at = [&](std::size_t i) { return i < addressLength ? work[i] : '\0'; };
  const char c3 = at(3), c4 = at(4), c5 = at(5);
  if (!(c3 == 'R' && c4 == 'M' && c5 == 'C')) {
    // Other GPS sentences (GGA, GSA, GSV) carry nothing for us; anything else is read as
    // "no valid fix".
    if (c3 == 'G' || c4 == 'G' || c5 == 'A') return GpsFix{};
    return NoFix();
  }

  FieldReader fields(work, 7);
  fields.Next(11);  // time of day
  if (Letter(fields.Next(2)) != 'A') return NoFix();

  const std::optional<float> lat = DegreesFromNmea(fields.Next(10), 90.0f);
  const char northSouth = Letter(fields.Next(2));
  const std::optional<float> lon = DegreesFromNmea(fields.Next(11), 180.0f);
  const char eastWest = Letter(fields.Next(2));
  const float speed = Numeric(fields.Next(10));
  // A field that is no number the receiver could have sent: no position at all.
  if (!lat || !lon || !std::isfinite(speed)) return GpsFix{};

  GpsFix fix;
  // The single-precision values widen exactly.
  fix.latitude = static_cast<double>(northSouth == 'S' ? -*lat : *lat);
  fix.longitude = static_cast<double>(eastWest == 'W' ? -*lon : *lon);
  fix.speed = static_cast<double>(speed);
  return fix;
}

FixKind ClassifyFix(const GpsFix& fix) {
  if (fix.latitude == kNoFixMarker && fix.longitude == kNoFixMarker) return FixKind::NoFix;
  if (fix.latitude == 0 || fix.longitude == 0) return FixKind::None;
  return FixKind::Ok;
}

}  // namespace recording
