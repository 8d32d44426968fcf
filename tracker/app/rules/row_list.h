#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/track_point.h"
#include "tracker/log/trip_record.h"

namespace tracker {

// What one item of the row list shows.
struct ListItem {
  // Date (a day's date, or " - " and the date for drives and parking), start and end time
  // (hh:mm:ss of the first and last fix in the shown zone); times are empty without points.
  std::array<std::string, 3> columns;
  int image = 0;          // 0 day, 1 drive, 2 parking
  bool checked = false;   // rows with points start ticked
  std::uint32_t rgb = 0;  // text colour, 0xRRGGBB
  bool bold = false;
};

// `display_offset` is the shown zone's offset, daylight-saving hour included.
ListItem MakeListItem(const TripRecord& row, const PointStore& points, std::int64_t display_offset);

// "hh:mm:ss" of a fix's time in the shown zone.
std::string ClockText(const TrackPoint& point, std::int64_t display_offset);

// Row colours as the window's palette keeps them (0x00BBGGRR), and as 0xRRGGBB.
inline constexpr std::uint32_t kParkingColorRef = 0x0087FA;
inline constexpr std::uint32_t kDayColorRef = 0x282828;
inline constexpr std::uint32_t kDriveColorRef = 0x2DA050;
constexpr std::uint32_t RgbOfColorRef(std::uint32_t color_ref) {
  return ((color_ref & 0xFF) << 16) | (color_ref & 0xFF00) | ((color_ref >> 16) & 0xFF);
}

// "day", "drive" or "parking".
const char* RowKindName(RowType type);

// The language text item of a row's kind word: One Day, Driving or Parking.
int RowKindTextItem(RowType type);

// The tooltip over an item: "%s : %s" of the kind word in the language and the start date.
std::string RowToolTip(const TripRecord& row, int language_index, const TrackerProfile& profile);

// The Driver, Purpose and Comments boxes, and the copy of a box's text (UTF-8) into the row's
// field, cut to the field without splitting a character (note_box.h says how much each holds).
enum class RowTextField { kDriver, kPurpose, kComments };
void SetRowText(TripRecord& row, RowTextField field, std::string_view utf8);
std::string_view RowText(const TripRecord& row, RowTextField field);

}  // namespace tracker
