#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tracker/log/track_point.h"
#include "tracker/log/trip_record.h"

namespace tracker {

// What one call hands to the map page: element ids with the texts for their `value`, in the
// order they are set, and the id of the element clicked afterwards (empty for none).
struct PageCall {
  std::vector<std::pair<std::string, std::string>> values;
  std::string trigger;
};

// How a build hands a row's route to its page: thinned, with one zoom level per kept point,
// or every point; and whether the levels text goes to the page at all.
struct RouteStyle {
  bool thin = true;
  bool send_levels = true;
};

// The page's address with the language's number: "%s?lang=%d".
std::string PageAddress(const std::string& page, int language_index);

// "YYYY.MM.DD hh:mm:ss" of a fix's local time; `offset_seconds` includes the daylight hour.
std::string PageDateTime(const TrackPoint& point, std::int64_t offset_seconds);

// The row's values and route; nothing for a row without points. `with_line` is clear for
// parking rows when a row is selected.
std::optional<PageCall> ShowRowCall(const TripRecord& row, const PointStore& points, std::int64_t offset_seconds,
                                    bool with_line, RouteStyle style);

// The marker at one fix.
PageCall MoveMarkerCall(const TrackPoint& point, std::int64_t offset_seconds, bool show_time);

// The page's language: one character, '0' plus the index.
PageCall ChangeLanguageCall(int language_index);

PageCall PrintCall();

}  // namespace tracker
