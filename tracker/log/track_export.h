#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tracker/log/track_point.h"
#include "tracker/log/trip_list.h"

namespace tracker {

// Formats other programs read the rows' routes in.
enum class ExportFormat { kGpx, kKml, kCsv };

// "gpx", "kml" or "csv".
std::optional<ExportFormat> ExportFormatNamed(std::string_view name);

// List positions of every drive row, in list order: the drives hold every moving point once,
// where day rows repeat them and parking rows only join two drives.
std::vector<std::int32_t> DriveRowPositions(const TripList& trips);

// GPX 1.1: one track per row, each fix with its UTC time and its speed in m/s.
std::string TracksAsGpx(const TripList& trips, const PointStore& points, std::span<const std::int32_t> positions);

// KML 2.2: one placemark with a line per row.
std::string TracksAsKml(const TripList& trips, const PointStore& points, std::span<const std::int32_t> positions);

// CSV: a header, then one line per fix: list position, UTC and local date-time, latitude,
// longitude, speed in km/h. `offset_seconds` is the shown zone's, daylight hour included.
std::string TracksAsCsv(const TripList& trips, const PointStore& points, std::span<const std::int32_t> positions,
                        std::int64_t offset_seconds);

std::string ExportTracks(ExportFormat format, const TripList& trips, const PointStore& points,
                         std::span<const std::int32_t> positions, std::int64_t offset_seconds);

}  // namespace tracker
