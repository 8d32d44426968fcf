#include "tracker/app/video/video_rules.h"

#include <gtest/gtest.h>

#include "tests/tracker/log/make_point.h"

namespace {

using namespace tracker;

TEST(VideoRules, TheCardOfAnOpenedPath) {
  struct Case {
    std::string opened;
    bool folder;
    std::optional<std::string> card;
  };
  const std::vector<Case> cases = {
      {"/media/card/GPSLOG", true, "/media/card"},
      {"/media/card/GPSLOG/", true, "/media/card"},
      {"/media/card/gpslog", true, "/media/card"},
      {"/media/card/GPSLOG/trip.KEL", false, "/media/card"},
      {"/home/me/trips/trip.KEL", false, std::nullopt},
      {"/home/me/GPSLOG-copy", true, std::nullopt},
      {"GPSLOG", true, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CardOfOpenedPath(c.opened, c.folder), c.card) << c.opened;
}

TEST(VideoRules, TheManagerOfTheFamilyOpensTheMatchAtItsSecond) {
  EXPECT_EQ(ManagerProgram(TrackerProfileId::kCurrent, true), "kel2ch-manager");
  EXPECT_EQ(ManagerProgram(TrackerProfileId::kCurrent, false), "kel-manager");
  EXPECT_EQ(ManagerProgram(TrackerProfileId::kOlder, false), "ryn-manager");

  timeline::TimelineEntry entry;
  entry.path = "/card/EVENT/drf_20240513_150030.mp4";
  // 12.99 s into the recording is still its twelfth second.
  const timeline::TimelineMatch match{&entry, 129'900'000};
  EXPECT_EQ(ManagerArguments("/card", match),
            (std::vector<std::string>{"/card", "--file", "/card/EVENT/drf_20240513_150030.mp4", "--at", "12"}));
}

TEST(VideoRules, TheMomentOfARowsPoint) {
  TrackDocument document;
  for (int i = 0; i < 5; ++i) document.points.push_back(tracker_test::MakePoint(20130101, 100000 + i, 1.0, 1.0));
  TripRecord drive{};
  drive.first_point = 1;
  drive.point_count = 3;
  TripRecord empty{};
  TripRecord beyond{};
  beyond.first_point = 4;
  beyond.point_count = 3;
  document.trips.rows = {drive, empty, beyond};
  const std::int64_t ten = 1357034400;  // 2013-01-01 10:00:00 UTC
  struct Case {
    int row, offset;
    std::optional<std::int64_t> moment;
  };
  const std::vector<Case> cases = {
      {0, 0, ten + 1}, {0, 2, ten + 3},      {0, 7, ten + 3},      {0, -4, ten + 1},      {1, 0, std::nullopt},
      {2, 0, ten + 4}, {2, 1, std::nullopt}, {3, 0, std::nullopt}, {-1, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowPointMoment(document, c.row, c.offset), c.moment) << c.row << " " << c.offset;
  }
}

}  // namespace
