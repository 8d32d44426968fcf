#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "manager/timeline/card_timeline.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/track_document.h"
#include "tracker/log/track_point.h"

namespace tracker {

// The rules of "Play video": from a point of the track to the manager command that shows it.

// Where the card's GPS logs lie on the card.
inline constexpr std::string_view kLogFolderName = "GPSLOG";
// The card folder the user chose once for folders that lie on no card.
inline constexpr std::string_view kVideoCardKey = "VIDEOCARD";

// The card an opened path lies on: the folder above a GPSLOG folder (in any case), or above the
// folder of a trip database kept in GPSLOG; none for anything else.
std::optional<std::string> CardOfOpenedPath(std::string_view opened, bool isFolder);

// The manager of the tracker's camera family. Kel cameras come with one channel or two; a card
// holding rear recordings is a two-channel camera's.
std::string_view ManagerProgram(TrackerProfileId tracker, bool twoChannels);
bool HasRearRecordings(const timeline::CardTimeline& timeline);

// A fix's moment, UTC seconds.
std::int64_t PointMoment(const TrackPoint& point);

// The moment of the point `offset` of row `row_index` (clamped to the row); none for a row that
// does not exist or has no points.
std::optional<std::int64_t> RowPointMoment(const TrackDocument& document, int row_index, int offset);

// The manager's command line that opens `match` at its second: CARD --file PATH --at SECONDS.
// The second is rounded down, so the picture is never one of the next second.
std::vector<std::string> ManagerArguments(const std::string& card, const timeline::TimelineMatch& match);

}  // namespace tracker
