#include "tracker/map/page_values.h"

#include <cstdio>

#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
#include "tracker/log/route_encoding.h"

namespace tracker {

namespace {

// The zoom the map takes when the marker moves.
constexpr const char* kMarkerZoomLevel = "12";

// printf's "%f": six decimals.
std::string SixDecimals(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

// YYYY.MM.DD and hh:mm:ss of a fix's local time.
std::pair<std::string, std::string> DayAndTime(const TrackPoint& point, std::int64_t offset_seconds) {
  const LocalTime local = ToLocalTime(point.date_number, point.time_number, offset_seconds);
  const std::string date = DateText(local);
  const std::string time = TimeText(local);
  return {date.substr(0, 4) + '.' + date.substr(4, 2) + '.' + date.substr(6, 2),
          time.substr(0, 2) + ':' + time.substr(2, 2) + ':' + time.substr(4, 2)};
}

}  // namespace

std::string PageAddress(const std::string& page, int language_index) {
  return page + "?lang=" + std::to_string(language_index);
}

std::string PageDateTime(const TrackPoint& point, std::int64_t offset_seconds) {
  const auto [day, time] = DayAndTime(point, offset_seconds);
  return day + ' ' + time;
}

std::optional<PageCall> ShowRowCall(const TripRecord& row, const PointStore& points, std::int64_t offset_seconds,
                                    bool with_line, RouteStyle style) {
  const std::int64_t first = row.first_point;
  const std::int64_t count = row.point_count;
  if (count <= 0 || first < 0 || first + count > static_cast<std::int64_t>(points.size())) {
    return std::nullopt;
  }
  const TrackPoint& start = points[static_cast<std::size_t>(first)];
  const TrackPoint& end = points[static_cast<std::size_t>(first + count - 1)];
  EncodedRoute route = EncodeRowRoute(row, points, style.thin);

  PageCall call;
  auto& values = call.values;
  values.emplace_back("start_lat", FieldText(start.latitude));
  values.emplace_back("start_lng", FieldText(start.longitude));
  values.emplace_back("start_time", PageDateTime(start, offset_seconds));
  values.emplace_back("end_lat", FieldText(end.latitude));
  values.emplace_back("end_lng", FieldText(end.longitude));
  values.emplace_back("end_time", PageDateTime(end, offset_seconds));
  values.emplace_back("map_path", std::move(route.path));
  if (style.send_levels) values.emplace_back("map_levels", std::move(route.levels));
  values.emplace_back("total_Distance", SixDecimals(row.distance));
  values.emplace_back("total_Time", std::to_string(row.total_time));
  values.emplace_back("total_StopTime", std::to_string(row.stop_time));
  values.emplace_back("averageSpeed", SixDecimals(row.speed_sum));
  values.emplace_back("maxSpeed", SixDecimals(row.max_speed));
  values.emplace_back("driver", FieldText(row.driver));
  values.emplace_back("purpose", FieldText(row.purpose));
  values.emplace_back("comment", FieldText(row.comments));
  call.trigger = with_line ? "init_data" : "init_data_no_line";
  return call;
}

PageCall MoveMarkerCall(const TrackPoint& point, std::int64_t offset_seconds, bool show_time) {
  auto [day, time] = DayAndTime(point, offset_seconds);
  PageCall call;
  call.values = {
      {"map_latitude", std::string(FieldText(point.latitude))},
      {"map_longitude", std::string(FieldText(point.longitude))},
      {"map_zoomlevel", kMarkerZoomLevel},
      {"map_day", std::move(day)},
      {"map_time", std::move(time)},
      {"map_showtime", show_time ? "1" : "0"},
  };
  call.trigger = "map_pointmove";
  return call;
}

PageCall ChangeLanguageCall(int language_index) {
  return {{{"map_language", std::string(1, static_cast<char>('0' + language_index))}}, "onChangeLanguage"};
}

PageCall PrintCall() { return {{}, "onPrint"}; }

}  // namespace tracker
