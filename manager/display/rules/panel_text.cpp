#include "manager/display/rules/panel_text.h"

#include <cstdio>

#include "manager/display/rules/palette.h"
#include "manager/language/lookup_text.h"

namespace display {
namespace {

namespace keys = language::keys;

struct Clock {
  int hours;
  int minutes;
  int seconds;
};

Clock ClockOf(std::int64_t units) {
  const auto s = static_cast<std::int32_t>(units / 10'000'000);
  const int hours = s / 3600;
  return {hours, (s - 3600 * hours) / 60, s - 60 * (s / 60)};
}

std::string Caption(language::TextKey key) { return language::LookupText(key) + " : "; }

// The caption is taken as it stands: a percent sign in a translated caption is text, not format.
std::string CaptionWithNumber(language::TextKey key, int decimals, double value) {
  char number[64];
  std::snprintf(number, sizeof number, "%.*f", decimals, value);
  return Caption(key) + number;
}

}  // namespace

std::string TimeText(std::int64_t position, std::int64_t duration) {
  const Clock elapsed = ClockOf(position);
  const Clock total = ClockOf(duration);
  char text[64];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d / %02d:%02d:%02d", elapsed.hours, elapsed.minutes, elapsed.seconds,
                total.hours, total.minutes, total.seconds);
  return text;
}

std::string FileNameLabelText(std::string_view fileName) {
  return language::LookupText(keys::kFileName) + " : \r\n      " + std::string(fileName);
}

GpsLabels BareGpsLabels() {
  return {Caption(keys::kLatitude), Caption(keys::kLongitude), Caption(keys::kKmPerHour), Caption(keys::kMilesPerHour)};
}

GpsLabels GpsLabelsFor(const recording::GpsFix& fix) {
  return {CaptionWithNumber(keys::kLatitude, 4, fix.latitude), CaptionWithNumber(keys::kLongitude, 4, fix.longitude),
          CaptionWithNumber(keys::kKmPerHour, 1, fix.speed * 1.852),
          CaptionWithNumber(keys::kMilesPerHour, 1, fix.speed * 1.151)};
}

GpsPanelChange GpsPanelChangeFor(const recording::GpsFix& fix, GpsPanelFlags& flags) {
  GpsPanelChange change;
  if (fix.longitude == 0.0 || fix.latitude == 0.0) {
    if (flags.gpsShown) change.statusText = "";
    change.mapPosition = std::array<double, 2>{1.0, 1.0};
    flags.gpsShown = false;
    change.labels = BareGpsLabels();
    return change;
  }
  if (fix.longitude == recording::kNoFixMarker) {
    if (flags.fixColour) change.statusColour = palette::kWhite;
    flags.fixColour = false;
  } else {
    change.mapPosition = std::array<double, 2>{fix.latitude, fix.longitude};
    if (!flags.fixColour) change.statusColour = palette::kFixRed;
    flags.fixColour = true;
    change.labels = GpsLabelsFor(fix);
  }
  if (!flags.gpsShown) change.statusText = std::string(kGpsShownText);
  flags.gpsShown = true;
  return change;
}

GpsPanelChange ClearedGpsPanel(GpsPanelFlags& flags) {
  GpsPanelChange change;
  change.statusText = "";
  change.labels = BareGpsLabels();
  flags.gpsShown = false;
  return change;
}

}  // namespace display
