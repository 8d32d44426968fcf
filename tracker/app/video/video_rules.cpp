#include "tracker/app/video/video_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "tracker/log/local_time.h"

namespace tracker {
namespace {

namespace fs = std::filesystem;

bool IsLogFolderName(const fs::path& name) {
  const std::string text = name.string();
  return std::equal(text.begin(), text.end(), kLogFolderName.begin(), kLogFolderName.end(),
                    [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

std::optional<std::string> CardOfOpenedPath(std::string_view opened, bool isFolder) {
  fs::path path = fs::path(opened).lexically_normal();
  if (path.has_filename() == false) path = path.parent_path();  // "…/GPSLOG/"
  if (!isFolder) path = path.parent_path();
  if (!IsLogFolderName(path.filename())) return std::nullopt;
  const fs::path card = path.parent_path();
  if (card.empty()) return std::nullopt;
  return card.string();
}

std::string_view ManagerProgram(TrackerProfileId tracker, bool twoChannels) {
  // Lumaro cameras are Ryn's: both keep their trip databases as .RYN.
  if (tracker == TrackerProfileId::kOlder) return "ryn-manager";
  return twoChannels ? "kel2ch-manager" : "kel-manager";
}

bool HasRearRecordings(const timeline::CardTimeline& timeline) {
  return std::any_of(timeline.entries().begin(), timeline.entries().end(),
                     [](const timeline::TimelineEntry& entry) { return !entry.rear.empty(); });
}

std::int64_t PointMoment(const TrackPoint& point) { return UtcSeconds(point.date_number, point.time_number); }

std::optional<std::int64_t> RowPointMoment(const TrackDocument& document, int row_index, int offset) {
  if (row_index < 0 || static_cast<std::size_t>(row_index) >= document.trips.rows.size()) return std::nullopt;
  const TripRecord& row = document.trips.rows[static_cast<std::size_t>(row_index)];
  if (row.point_count <= 0 || row.first_point < 0) return std::nullopt;
  const auto at =
      static_cast<std::size_t>(row.first_point) + static_cast<std::size_t>(std::clamp(offset, 0, row.point_count - 1));
  if (at >= document.points.size()) return std::nullopt;
  return PointMoment(document.points[at]);
}

std::vector<std::string> ManagerArguments(const std::string& card, const timeline::TimelineMatch& match) {
  const std::int64_t second = match.offset / 10'000'000;
  return {card, "--file", match.entry->path, "--at", std::to_string(second)};
}

}  // namespace tracker
