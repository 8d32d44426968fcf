#include "tracker/log/track_export.h"

#include <cstdio>

#include "common/escaped_text.h"
#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
#include "tracker/log/text_number.h"
#include "tracker/log/units.h"

namespace tracker {

namespace {

using common::XmlEscaped;

constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;

// `value` rounded to `decimals` digits after the point.
std::string Fixed(int decimals, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Degrees(std::string_view text) { return Fixed(6, TextToDouble(text)); }

double Knots(const TrackPoint& point) { return FieldToDouble(point.speed); }

// "YYYY-MM-DD", then `separator`, then "hh:mm:ss".
std::string DateTime(const TrackPoint& point, std::int64_t offset_seconds, char separator) {
  const LocalTime t = ToLocalTime(point.date_number, point.time_number, offset_seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", t.year, t.month, t.day, separator, t.hour,
                t.minute, t.second);
  return text;
}

std::string UtcIso(const TrackPoint& point) { return DateTime(point, 0, 'T') + 'Z'; }

std::string RowName(const TripRecord& row) {
  const std::string_view date = FieldText(row.start_date);
  const std::string_view time = FieldText(row.start_time);
  if (date.size() != 8 || time.size() != 6) return XmlEscaped(date) + ' ' + XmlEscaped(time);
  return std::string(date.substr(0, 4)) + '.' + std::string(date.substr(4, 2)) + '.' + std::string(date.substr(6, 2)) +
         ' ' + std::string(time.substr(0, 2)) + ':' + std::string(time.substr(2, 2)) + ':' +
         std::string(time.substr(4, 2));
}

// The row at a list position and its points; none when either is out of range.
const TripRecord* RowAt(const TripList& trips, const PointStore& points, std::int32_t position) {
  if (position < 0 || static_cast<std::size_t>(position) >= trips.order.size()) return nullptr;
  const std::int32_t index = trips.order[static_cast<std::size_t>(position)];
  if (index < 0 || static_cast<std::size_t>(index) >= trips.rows.size()) return nullptr;
  const TripRecord& row = trips.rows[static_cast<std::size_t>(index)];
  const std::int64_t end = std::int64_t{row.first_point} + row.point_count;
  if (row.first_point < 0 || row.point_count < 0 || end > static_cast<std::int64_t>(points.size())) return nullptr;
  return &row;
}

std::span<const TrackPoint> PointsOf(const TripRecord& row, const PointStore& points) {
  return std::span(points).subspan(static_cast<std::size_t>(row.first_point),
                                   static_cast<std::size_t>(row.point_count));
}

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(std::string_view name) {
  if (name == "gpx") return ExportFormat::kGpx;
  if (name == "kml") return ExportFormat::kKml;
  if (name == "csv") return ExportFormat::kCsv;
  return std::nullopt;
}

std::vector<std::int32_t> DriveRowPositions(const TripList& trips) {
  std::vector<std::int32_t> positions;
  for (std::size_t i = 0; i < trips.order.size(); ++i) {
    const auto index = static_cast<std::size_t>(trips.order[i]);
    if (index < trips.rows.size() && trips.rows[index].type == RowType::kDrive) {
      positions.push_back(static_cast<std::int32_t>(i));
    }
  }
  return positions;
}

std::string TracksAsGpx(const TripList& trips, const PointStore& points, std::span<const std::int32_t> positions) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"blackbox\" xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
      "     xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\">\n";
  for (const std::int32_t position : positions) {
    const TripRecord* row = RowAt(trips, points, position);
    if (!row) continue;
    out += "  <trk>\n    <name>" + RowName(*row) + "</name>\n    <trkseg>\n";
    for (const TrackPoint& point : PointsOf(*row, points)) {
      out += "      <trkpt lat=\"" + Degrees(FieldText(point.latitude)) + "\" lon=\"" +
             Degrees(FieldText(point.longitude)) + "\"><time>" + UtcIso(point) +
             "</time><extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>" +
             Fixed(3, Knots(point) * kMetresPerSecondPerKnot) +
             "</gpxtpx:speed></gpxtpx:TrackPointExtension></extensions></trkpt>\n";
    }
    out += "    </trkseg>\n  </trk>\n";
  }
  out += "</gpx>\n";
  return out;
}

std::string TracksAsKml(const TripList& trips, const PointStore& points, std::span<const std::int32_t> positions) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  for (const std::int32_t position : positions) {
    const TripRecord* row = RowAt(trips, points, position);
    if (!row || row->point_count == 0) continue;
    out += "  <Placemark>\n    <name>" + RowName(*row) + "</name>\n";
    // A line needs two points; a drive of one fix is shown as a point.
    const bool line = row->point_count > 1;
    out += line ? "    <LineString>\n      <tessellate>1</tessellate>\n      <coordinates>"
                : "    <Point>\n      <coordinates>";
    bool first = true;
    for (const TrackPoint& point : PointsOf(*row, points)) {
      if (!first) out += ' ';
      first = false;
      out += Degrees(FieldText(point.longitude)) + ',' + Degrees(FieldText(point.latitude)) + ",0";
    }
    out += line ? "</coordinates>\n    </LineString>\n" : "</coordinates>\n    </Point>\n";
    out += "  </Placemark>\n";
  }
  out += "</Document>\n</kml>\n";
  return out;
}

std::string TracksAsCsv(const TripList& trips, const PointStore& points, std::span<const std::int32_t> positions,
                        std::int64_t offset_seconds) {
  std::string out = "row,utc,local,latitude,longitude,speed_kmh\n";
  for (const std::int32_t position : positions) {
    const TripRecord* row = RowAt(trips, points, position);
    if (!row) continue;
    const std::string prefix = std::to_string(position) + ',';
    for (const TrackPoint& point : PointsOf(*row, points)) {
      out += prefix + UtcIso(point) + ',' + DateTime(point, offset_seconds, ' ') + ',' +
             Degrees(FieldText(point.latitude)) + ',' + Degrees(FieldText(point.longitude)) + ',' +
             Fixed(2, Knots(point) * kKmhPerKnot) + '\n';
    }
  }
  return out;
}

std::string ExportTracks(ExportFormat format, const TripList& trips, const PointStore& points,
                         std::span<const std::int32_t> positions, std::int64_t offset_seconds) {
  switch (format) {
    case ExportFormat::kGpx: return TracksAsGpx(trips, points, positions);
    case ExportFormat::kKml: return TracksAsKml(trips, points, positions);
    case ExportFormat::kCsv: return TracksAsCsv(trips, points, positions, offset_seconds);
  }
  return {};
}

}  // namespace tracker
