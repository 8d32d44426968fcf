#include "tracker/app/rules/row_list.h"

#include <cstring>

#include "tracker/app/settings/language_table.h"
#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"

namespace tracker {

namespace {

// The longest prefix of `text` of at most `size` bytes that ends between two characters.
std::string_view CutAtCharacter(std::string_view text, std::size_t size) {
  if (text.size() <= size) return text;
  std::size_t end = size;
  // Step back over continuation bytes (10xxxxxx) to the start of the character that was cut.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

template <std::size_t N>
void CopyInto(char (&field)[N], std::string_view text) {
  SetFieldText(field, CutAtCharacter(text, N - 1));
}

}  // namespace

std::string ClockText(const TrackPoint& point, std::int64_t display_offset) {
  const std::string text = TimeText(ToLocalTime(point.date_number, point.time_number, display_offset));
  return text.substr(0, 2) + ':' + text.substr(2, 2) + ':' + text.substr(4, 2);
}

ListItem MakeListItem(const TripRecord& row, const PointStore& points, std::int64_t display_offset) {
  ListItem item;
  const std::string date(FieldText(row.start_date));
  item.columns[0] = row.type == RowType::kDay ? date : " - " + date;
  const std::int64_t first = row.first_point;
  const std::int64_t count = row.point_count;
  if (count > 0 && first >= 0 && first + count <= static_cast<std::int64_t>(points.size())) {
    item.columns[1] = ClockText(points[static_cast<std::size_t>(first)], display_offset);
    item.columns[2] = ClockText(points[static_cast<std::size_t>(first + count - 1)], display_offset);
    item.checked = true;
  }
  switch (row.type) {
    case RowType::kDay:
      item.image = 0;
      item.rgb = RgbOfColorRef(kDayColorRef);
      item.bold = true;
      break;
    case RowType::kDrive:
      item.image = 1;
      item.rgb = RgbOfColorRef(kDriveColorRef);
      break;
    case RowType::kParking:
      item.image = 2;
      item.rgb = RgbOfColorRef(kParkingColorRef);
      break;
  }
  return item;
}

const char* RowKindName(RowType type) {
  switch (type) {
    case RowType::kDay: return "day";
    case RowType::kDrive: return "drive";
    case RowType::kParking: return "parking";
  }
  return "";
}

int RowKindTextItem(RowType type) {
  switch (type) {
    case RowType::kDay: return kTextOneDay;
    case RowType::kDrive: return kTextDriving;
    case RowType::kParking: break;
  }
  return kTextParking;
}

std::string RowToolTip(const TripRecord& row, int language_index, const TrackerProfile& profile) {
  return std::string(Text(language_index, RowKindTextItem(row.type), profile)) + " : " +
         std::string(FieldText(row.start_date));
}

void SetRowText(TripRecord& row, RowTextField field, std::string_view utf8) {
  switch (field) {
    case RowTextField::kDriver: CopyInto(row.driver, utf8); break;
    case RowTextField::kPurpose: CopyInto(row.purpose, utf8); break;
    case RowTextField::kComments: CopyInto(row.comments, utf8); break;
  }
}

std::string_view RowText(const TripRecord& row, RowTextField field) {
  switch (field) {
    case RowTextField::kDriver: return FieldText(row.driver);
    case RowTextField::kPurpose: return FieldText(row.purpose);
    case RowTextField::kComments: return FieldText(row.comments);
  }
  return {};
}

}  // namespace tracker
