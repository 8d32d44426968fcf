#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "manager/recording/gps_decode.h"

namespace display {

// "hh:mm:ss / hh:mm:ss" of the elapsed and the total time (100 ns units).
std::string TimeText(std::int64_t position, std::int64_t duration);

// The file-name label: the caption on one line, the indented name on the next.
std::string FileNameLabelText(std::string_view fileName);

// The four value labels of the GPS panel.
struct GpsLabels {
  std::string latitude;
  std::string longitude;
  std::string kmPerHour;
  std::string milesPerHour;
  friend bool operator==(const GpsLabels&, const GpsLabels&) = default;
};

// The labels with their captions alone ("Latitude : "), as the panel shows them without a position.
GpsLabels BareGpsLabels();
// The labels for a fix: degrees with four decimals, the speed in km/h and m/h with one.
GpsLabels GpsLabelsFor(const recording::GpsFix& fix);

inline constexpr std::string_view kGpsShownText = "GPS >>";

// What the GPS status label currently shows; kept between recordings.
struct GpsPanelFlags {
  bool gpsShown = false;   // the label reads "GPS >>"
  bool fixColour = false;  // the label's text is red: the receiver has a fix
};

// The changes one panel tick makes; an empty member leaves that part as it is.
struct GpsPanelChange {
  std::optional<std::string> statusText;
  std::optional<std::uint32_t> statusColour;         // 0xRRGGBB
  std::optional<std::array<double, 2>> mapPosition;  // (a, b) for the map: latitude, longitude or (1, 1)
  std::optional<GpsLabels> labels;
};

// The panel tick for a decoded GPS sample: no position clears the panel and parks the map, the
// no-fix marker turns the status white, a fix turns it red, fills the labels and moves the map.
GpsPanelChange GpsPanelChangeFor(const recording::GpsFix& fix, GpsPanelFlags& flags);

// The panel emptied (Stop, a folder load, a recording without GPS data): bare labels, no status
// text, and the flag cleared with the text so the next fix shows "GPS >>" again.
GpsPanelChange ClearedGpsPanel(GpsPanelFlags& flags);

}  // namespace display
