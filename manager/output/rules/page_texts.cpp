#include "manager/output/rules/page_texts.h"

#include <cstdarg>
#include <cstdio>

#include "manager/language/lookup_text.h"
#include "manager/recording/gps_decode.h"

namespace output {
namespace {

// printf into a string; the attribute lets the compiler check the arguments against the format.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(again);
  return text;
}

std::string DateTimeText(const std::tm& fields) {
  return Format("%04d-%02d-%02d %02d:%02d:%02d", fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                fields.tm_hour, fields.tm_min, fields.tm_sec);
}

bool Usable(const recording::SensorRecord* record) { return record != nullptr && record->noData == 0; }

}  // namespace

std::string RecordingTimeText(std::optional<recording::TimeSample> time) {
  if (!time) return "0000-00-00 00:00:00";
  const std::time_t t = *time;
  std::tm fields{};
  if (*time < 0 || ::gmtime_r(&t, &fields) == nullptr) {
    fields = {};
    fields.tm_sec = fields.tm_min = fields.tm_hour = fields.tm_mday = fields.tm_mon = fields.tm_year = -1;
    return "TT " + DateTimeText(fields);
  }
  return DateTimeText(fields);
}

std::optional<recording::TimeSample> TimeSampleAt(const recording::SensorRecord* record, std::int64_t position) {
  if (!Usable(record)) return std::nullopt;
  return recording::FindTimeSample(*record, position);
}

std::optional<recording::GSensorSample> GSensorSampleAt(const recording::SensorRecord* record, std::int64_t position) {
  if (!Usable(record)) return std::nullopt;
  return recording::FindGSensorSample(*record, position);
}

std::optional<double> GpsSpeedAt(const recording::SensorRecord* record, std::int64_t position) {
  if (!Usable(record)) return std::nullopt;
  const auto sample = recording::FindGpsSample(*record, position);
  if (!sample) return std::nullopt;
  return recording::DecodeGpsSample(*sample).speed;
}

PageTexts BuildPageTexts(const PageFacts& facts, const setup::Profile& profile) {
  using language::LookupText;
  namespace keys = language::keys;
  PageTexts texts;
  texts.title = LookupText(keys::kPrintService);
  texts.dateLine =
      Format("  - %s : %s", LookupText(keys::kRecordingDate).c_str(), RecordingTimeText(facts.time).c_str());

  double axis[3] = {0, 0, 0};  // x, y, z
  if (facts.gsensor) {
    for (std::size_t i = 0; i < 3; ++i) axis[static_cast<int>(profile.gsensor_axes[i])] = facts.gsensor->values[i];
  }
  texts.gSensorLine =
      Format("  - %s : X=%.3f Y=%.3f Z=%.3f", LookupText(keys::kGSensor).c_str(), axis[0], axis[1], axis[2]);

  texts.speedLine = Format("  - %s :", LookupText(keys::kGpsSpeed).c_str()) +
                    Format(" %.1lf %s", facts.speedKnots * 1.852, LookupText(keys::kKmPerHourInPrint).c_str()) +
                    Format(" %.1lf %s", facts.speedKnots * 1.151, LookupText(keys::kMilesPerHourInPrint).c_str());
  texts.printTime = PrintTimeText(facts.printedAt);
  return texts;
}

std::string ResolutionText(int width, int height) {
  return Format("%s : %ld x %ld", language::LookupText(language::keys::kPixel).c_str(), static_cast<long>(width),
                static_cast<long>(height));
}

std::string PrintTimeText(const std::tm& local) { return DateTimeText(local); }

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm fields{};
  ::localtime_r(&now, &fields);
  return fields;
}

}  // namespace output
