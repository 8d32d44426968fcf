#include "tracker/app/window/tracker_options.h"

#include <gtest/gtest.h>

#include <QCommandLineParser>

#include <string>
#include <vector>

namespace {

TEST(TrackerOptionsTest, TheLineIsReadIntoActionsAndUnusableValuesAreRefusedOneByOne) {
  struct Case {
    QStringList arguments;
    QString path;
    std::optional<int> row, language, time_zone, speed_entry;
    bool dst;
    std::optional<tracker::Direction> play;
    int steps;
    int refused;
  };
  const std::vector<Case> cases = {
      {{"/logs", "--row", "2", "--tz", "30", "--dst"}, "/logs", 2, {}, 30, {}, true, {}, 0, 0},
      {{"--lang", "11", "--speed", "x10", "--play", "reverse", "--steps", "4"},
       "",
       {},
       11,
       {},
       4,
       false,
       tracker::Direction::kReverse,
       4,
       0},
      {{"\"/my logs\""}, "/my logs", {}, {}, {}, {}, false, {}, 0, 0},
      {{"--lang", "12", "--tz", "-1", "--row", "x", "--speed", "4", "--play", "sideways"},
       "",
       {},
       {},
       {},
       {},
       false,
       {},
       0,
       5},
      {{"--steps", "3"}, "", {}, {}, {}, {}, false, {}, 3, 1},
      {{"\"/odd"}, "", {}, {}, {}, {}, false, {}, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QCommandLineParser parser;
    tracker::TrackerOptions options;
    QStringList refused;
    QString error;
    ASSERT_TRUE(tracker::ParseTrackerOptions(parser, tracker::TrackerProgramInfo(tracker::kCurrentProfile),
                                             QStringList{"kel-tracker"} + c.arguments, options, refused, error));
    EXPECT_EQ(options.path, c.path);
    EXPECT_EQ(options.row, c.row);
    EXPECT_EQ(options.language, c.language);
    EXPECT_EQ(options.time_zone, c.time_zone);
    EXPECT_EQ(options.speed_entry, c.speed_entry);
    EXPECT_EQ(options.daylight_saving, c.dst);
    EXPECT_EQ(options.play, c.play);
    EXPECT_EQ(options.steps, c.steps);
    EXPECT_EQ(refused.size(), c.refused) << refused.join('\n').toStdString();
  }
  QCommandLineParser parser;
  tracker::TrackerOptions options;
  QStringList refused;
  QString error;
  EXPECT_FALSE(tracker::ParseTrackerOptions(parser, tracker::TrackerProgramInfo(tracker::kCurrentProfile),
                                            {"kel-tracker", "--no-such-option"}, options, refused, error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
