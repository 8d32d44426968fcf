#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "three_day_log.h"

namespace {

using Outcome = testing_support::CommandResult;

Outcome Blackbox(const std::string& arguments) {
  return testing_support::RunCommand(std::string(BLACKBOX_EXE) + " " + arguments);
}

class CliTest : public testing::Test {
 protected:
  void SetUp() override { tracker_test::WriteThreeDayLog(logs_.path()); }
  std::string Logs() const { return logs_.path().string(); }

  testing_support::TempDir logs_;
  testing_support::TempDir scratch_;
};

TEST_F(CliTest, TripsAsJsonCarryTheRowsInListOrder) {
  const Outcome run = Blackbox("trips " + Logs() + " --tz 30 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto rows = nlohmann::json::parse(run.out);
  ASSERT_EQ(rows.size(), 14u);
  const auto& day = rows[0];
  EXPECT_EQ(day["type"], 0);
  EXPECT_EQ(day["startDate"], "20130101");
  EXPECT_EQ(day["startTime"], "100000");
  EXPECT_EQ(day["pointCount"], 120);
  EXPECT_EQ(day["firstPoint"], 0);
  EXPECT_NEAR(day["distance"].get<double>(), 0.000264084, 1e-9);
  EXPECT_EQ(day["totalTime"], 117);
  EXPECT_EQ(day["stopTime"], 10);
  EXPECT_EQ(day["parkingTime"], 50282);
  EXPECT_EQ(day["speedSum"], 2889.0);
  EXPECT_EQ(day["maxSpeed"], 27.0);
  EXPECT_EQ(day["distanceKm"], "1.68");
  EXPECT_EQ(day["distanceMiles"], "1.05");
  EXPECT_EQ(day["averageKmh"], "50.00");
  EXPECT_EQ(day["averageMph"], "31.10");
  EXPECT_EQ(day["maxKmh"], "50.00");
  EXPECT_EQ(day["maxMph"], "31.10");
  EXPECT_EQ(day["drivingTime"], "00:01:57");
  EXPECT_EQ(day["parkingDuration"], "13:58:02");
  EXPECT_EQ(rows[2]["type"], -1);
  EXPECT_EQ(rows[2]["parkingDuration"], "00:20:00");
}

TEST_F(CliTest, TripsAsTextShiftTheShownTimesForDaylightSaving) {
  // In Seoul (the default zone) the first day ends with C: D starts at 08:59:30 next morning,
  // so the day parks 20 minutes plus the time from C's end to midnight (4:38:31).
  const Outcome seoul = Blackbox("trips " + Logs());
  ASSERT_EQ(seoul.status, 0) << seoul.err;
  EXPECT_EQ(seoul.out.substr(0, seoul.out.find('\n')),
            "20130101\t19:00:00\t19:21:28\tOne Day\t1.23 km\t0.76 mile\t00:01:28\t04:58:31\t"
            "50.00 km/h\t31.10 mile/h\t50.00 km/h\t31.10 mile/h");
  const Outcome summer = Blackbox("trips " + Logs() + " --tz=71 --dst");
  ASSERT_EQ(summer.status, 0) << summer.err;
  EXPECT_EQ(summer.out.substr(0, summer.out.find('\n')),
            "20130101\t20:00:00\t20:21:28\tOne Day\t1.23 km\t0.76 mile\t00:01:28\t04:58:31\t"
            "50.00 km/h\t31.10 mile/h\t50.00 km/h\t31.10 mile/h");
}

TEST_F(CliTest, PointsAreTheFilteredSortedStore) {
  const Outcome run = Blackbox("points " + Logs() + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto points = nlohmann::json::parse(run.out);
  ASSERT_EQ(points.size(), 210u);
  EXPECT_EQ(points[0], nlohmann::json({{"latitude", "1.000000"},
                                       {"longitude", "1.000000"},
                                       {"date", "20130101"},
                                       {"time", "100000"},
                                       {"speed", "027.0"}}));
  const Outcome text = Blackbox("points " + Logs());
  EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "1.000000\t1.000000\t20130101\t100000\t027.0");
}

TEST_F(CliTest, FailuresExitWithOneLineOnStderr) {
  testing_support::WriteFile(scratch_ / "file.txt", "x");
  std::filesystem::create_directories(scratch_ / "empty");
  const struct {
    std::string arguments;
    int status;
  } cases[] = {
      {"trips " + (scratch_ / "missing").string(), 2},
      {"trips " + (scratch_ / "file.txt").string(), 2},
      {"points " + (scratch_ / "empty").string(), 2},
      {"trips " + Logs() + " --tz 84", 1},
      {"trips " + Logs() + " --tz seoul", 1},
      {"trips " + Logs() + " --color", 1},
      {"points", 1},
  };
  for (const auto& c : cases) {
    const Outcome run = Blackbox(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_FALSE(run.err.empty()) << c.arguments;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << c.arguments << ": " << run.err;
  }
}

}  // namespace
