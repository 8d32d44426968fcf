#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "three_day_log.h"

namespace {

using Outcome = testing_support::CommandResult;

class DatabaseCliTest : public testing::Test {
 protected:
  void SetUp() override { tracker_test::WriteThreeDayLog(logs_.path()); }
  Outcome Blackbox(const std::string& arguments) {
    return testing_support::RunCommand(std::string(BLACKBOX_EXE) + " " + arguments);
  }
  std::string Logs() const { return logs_.path().string(); }
  std::string Scratch(const std::string& name) const { return (scratch_ / name).string(); }

  testing_support::TempDir logs_;
  testing_support::TempDir scratch_;
};

TEST_F(DatabaseCliTest, ASavedDatabaseGivesTheSameRoutesAndPageValuesAsTheFolder) {
  const Outcome save = Blackbox("save " + Logs() + " " + Scratch("trips.KEL"));
  ASSERT_EQ(save.status, 0) << save.err;
  EXPECT_EQ(save.err, "");
  for (const std::string row : {"0", "1", "2", "11"}) {
    SCOPED_TRACE(row);
    const Outcome from_logs = Blackbox("route " + Logs() + " --row " + row + " --json");
    const Outcome from_file = Blackbox("route " + Scratch("trips.KEL") + " --row " + row + " --json");
    ASSERT_EQ(from_logs.status, 0) << from_logs.err;
    EXPECT_EQ(from_file.out, from_logs.out);
    const auto route = nlohmann::json::parse(from_logs.out);
    EXPECT_EQ(route["levels"].get<std::string>().front(), 'P');
    const std::string page_args = " --row " + row + " --tz 60 --dst --json";
    EXPECT_EQ(Blackbox("page " + Scratch("trips.KEL") + page_args).out, Blackbox("page " + Logs() + page_args).out);
  }
}

TEST_F(DatabaseCliTest, TripsAndPointsReadASavedDatabaseOfEitherBuild) {
  ASSERT_EQ(Blackbox("save " + Logs() + " " + Scratch("trips.KEL")).status, 0);
  ASSERT_EQ(Blackbox("save " + Logs() + " " + Scratch("trips.RYN") + " --profile older").status, 0);
  const Outcome trips = Blackbox("trips " + Logs() + " --json");
  ASSERT_EQ(trips.status, 0) << trips.err;
  const Outcome points = Blackbox("points " + Logs());
  for (const std::string file : {"trips.KEL", "trips.RYN"}) {
    SCOPED_TRACE(file);
    const Outcome loaded = Blackbox("trips " + Scratch(file) + " --json");
    EXPECT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(loaded.out, trips.out);
    EXPECT_EQ(Blackbox("points " + Scratch(file)).out, points.out);
  }
}

TEST_F(DatabaseCliTest, PageValuesComeInTheirOrderWithTheTrigger) {
  // Row 2 is the first parking row (as `trips` lists them); in Kathmandu with daylight
  // saving, 10:00:49 UTC shows as 16:45:49.
  const Outcome page = Blackbox("page " + Logs() + " --row 2 --tz 60 --dst --json");
  ASSERT_EQ(page.status, 0) << page.err;
  const auto call = nlohmann::json::parse(page.out);
  EXPECT_EQ(call["trigger"], "init_data_no_line");
  ASSERT_EQ(call["values"].size(), 16u);
  EXPECT_EQ(call["values"][0][0], "start_lat");
  EXPECT_EQ(call["values"][2][0], "start_time");
  EXPECT_EQ(call["values"][2][1], "2013.01.01 16:45:49");
  EXPECT_EQ(call["values"][15][0], "comment");

  const Outcome older = Blackbox("page " + Logs() + " --row 1 --profile older --json");
  ASSERT_EQ(older.status, 0) << older.err;
  const auto older_call = nlohmann::json::parse(older.out);
  EXPECT_EQ(older_call["trigger"], "init_data");
  EXPECT_EQ(older_call["values"].size(), 15u);
  const auto route = nlohmann::json::parse(Blackbox("route " + Logs() + " --row 1 --profile older --json").out);
  EXPECT_FALSE(route.contains("levels"));
}

TEST_F(DatabaseCliTest, GpxExportReadsBackThroughGpsbabel) {
  const Outcome gpx = Blackbox("export " + Logs() + " --format gpx -o " + Scratch("trips.gpx"));
  ASSERT_EQ(gpx.status, 0) << gpx.err;
  const Outcome csv = testing_support::RunCommand("gpsbabel -t -i gpx -f " + Scratch("trips.gpx") +
                                                  " -x transform,wpt=trk -o unicsv -F -");
  ASSERT_EQ(csv.status, 0) << csv.err;
  // Every fix lies in exactly one drive row, so every fix comes back.
  const auto points = nlohmann::json::parse(Blackbox("points " + Logs() + " --json").out);
  EXPECT_EQ(static_cast<std::size_t>(std::count(csv.out.begin(), csv.out.end(), '\n')), 1 + points.size());
  EXPECT_NE(csv.out.find(",2013/01/01,10:00:00"), std::string::npos);

  const Outcome one = Blackbox("export " + Logs() + " --row 1 --format csv -o " + Scratch("one.csv") + " --tz 30");
  ASSERT_EQ(one.status, 0) << one.err;
  const std::string text = testing_support::ReadFile(scratch_ / "one.csv");
  EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1)),
            "row,utc,local,latitude,longitude,speed_kmh\n"
            "1,2013-01-01T10:00:00Z,2013-01-01 10:00:00,1.000000,1.000000,50.00");
}

TEST_F(DatabaseCliTest, FailuresSayWhyInOneLineWithTheirExitCode) {
  const auto expect = [&](const std::string& arguments, int status) {
    SCOPED_TRACE(arguments);
    const Outcome run = Blackbox(arguments);
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  };
  expect("route " + Logs() + " --row 12", 1);
  expect("route " + Logs() + " --row x", 1);
  expect("route " + Logs(), 1);
  expect("page " + Logs() + " --row 0 --tz 84 --json", 1);
  expect("save " + Logs() + " " + Scratch("t.KEL") + " --profile newest", 1);
  expect("export " + Logs() + " --format shp -o " + Scratch("t.shp"), 1);
  expect("route " + Scratch("missing") + " --row 0", 2);
  expect("save " + Logs() + " " + Scratch("no/such/folder/t.KEL"), 2);
  expect("export " + Logs() + " --format kml -o " + Scratch("no/such/t.kml"), 2);

  ASSERT_EQ(Blackbox("save " + Logs() + " " + Scratch("t.RYN") + " --profile older").status, 0);
  expect("route " + Scratch("t.RYN") + " --row 0", 2);
  EXPECT_EQ(Blackbox("route " + Scratch("t.RYN") + " --row 0 --profile older").status, 0);
  testing_support::WriteFile(scratch_ / "junk.KEL", std::string(200, 'x'));
  expect("page " + Scratch("junk.KEL") + " --row 0 --json", 2);
}

}  // namespace
