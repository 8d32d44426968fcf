// kel-tracker and lumaro-tracker run as programs, headless, through their automation options:
// the layout follows the screen, the options act as the controls would, and the settings
// outlive the run.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tests/tracker/log/three_day_log.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/field_text.h"
#include "tracker/log/track_document.h"
#include "tracker/log/trip_database.h"

namespace {

using testing_support::ShellQuoted;

class TrackerProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    tracker_test::WriteThreeDayLog(logs_.path());
    testing_support::WriteFile(dir_ / "screens.json",
                               R"({"screens":[{"name":"s1","x":0,"y":0,"width":1920,"height":1080,)"
                               R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
  }

  // Runs a program with its own settings folder; the state it wrote, or null.
  nlohmann::json Run(const char* program, const std::string& arguments, bool large_screen = false) {
    const std::string platform =
        large_screen ? "offscreen:configfile=" + (dir_ / "screens.json").string() : std::string("offscreen");
    const std::string state = (dir_ / "state.json").string();
    std::filesystem::remove(state);
    const testing_support::CommandResult result = testing_support::RunCommand(
        "env QT_QPA_PLATFORM=" + ShellQuoted(platform) + " XDG_CONFIG_HOME=" + ShellQuoted((dir_ / "config").string()) +
        " XDG_RUNTIME_DIR=" + ShellQuoted(dir_.path().string()) + " " + program + " " + arguments + " --state " +
        ShellQuoted(state) + " --screenshot " + ShellQuoted((dir_ / "shot.png").string()));
    status_ = result.status;
    err_ = result.err;
    std::ifstream in(state);
    if (!in) return nullptr;
    return nlohmann::json::parse(in);
  }

  // Width and height of the PNG the last run wrote.
  std::pair<int, int> ShotSize() const {
    std::ifstream in(dir_ / "shot.png", std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const auto be32 = [&](int at) {
      return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
    };
    return {be32(16), be32(20)};
  }

  std::string Logs() const { return ShellQuoted(logs_.path().string()); }

  testing_support::TempDir dir_;
  testing_support::TempDir logs_;
  int status_ = -1;
  std::string err_;  // what the last run printed on its error stream
};

TEST_F(TrackerProgramTest, TheScreenChoosesTheLayoutAndTheRowsOfAFolderAreShown) {
  nlohmann::json state = Run(KEL_TRACKER_EXE, Logs() + " --row 1");
  ASSERT_EQ(status_, 0) << err_ << state.dump(2);
  EXPECT_EQ(state["layout"], "small");
  EXPECT_EQ(state["window"], nlohmann::json::array({0, 100, 800, 600}));
  EXPECT_EQ(ShotSize(), std::pair(800, 600));
  EXPECT_EQ(state["title"], "Kel Tracker V.2.0.0.6");
  EXPECT_EQ(state["profile"], "current");
  EXPECT_GT(state["rows"].size(), 10u);
  EXPECT_EQ(state["selectedRow"], 1);
  EXPECT_EQ(state["rows"][1]["kind"], "drive");
  EXPECT_EQ(state["rows"][1]["text"][1], "19:00:00");  // Seoul, as an empty store starts
  EXPECT_NE(state["panel"]["distanceKm"], "");
  EXPECT_EQ(state["settings"]["LANG"], "eLANG_KOR");
  EXPECT_EQ(state["settings"]["GMT"], 71);
  EXPECT_TRUE(state["messages"].empty());

  state = Run(KEL_TRACKER_EXE, Logs() + " --row 0 --lang 0 --tz 60 --dst", true);
  ASSERT_EQ(status_, 0) << err_ << state.dump(2);
  EXPECT_EQ(state["layout"], "large");
  EXPECT_EQ(state["window"], nlohmann::json::array({450, 160, 1020, 760}));
  EXPECT_EQ(ShotSize(), std::pair(1020, 760));
  EXPECT_EQ(state["columns"], nlohmann::json::array({"Date", "Start", "End"}));
  EXPECT_EQ(state["rows"][1]["text"][1], "16:45:00");  // Kathmandu and the daylight-saving hour
  EXPECT_EQ(state["dst"], true);

  // The settings of the last run are where the next one starts.
  state = Run(KEL_TRACKER_EXE, "");
  ASSERT_EQ(status_, 0) << err_;
  EXPECT_EQ(state["language"], 0);
  EXPECT_EQ(state["timeZone"], 60);
  EXPECT_EQ(state["dst"], false);
  EXPECT_TRUE(state["rows"].empty());
}

TEST_F(TrackerProgramTest, TheOlderBuildHasItsOwnTitleAndShowsEnglishForTaiwan) {
  const nlohmann::json state = Run(LUMARO_TRACKER_EXE, Logs() + " --lang 11");
  ASSERT_EQ(status_, 0) << err_ << state.dump(2);
  EXPECT_EQ(state["title"], "Lumaro Lumaro Tracker V.1.0.0.2");
  EXPECT_EQ(state["profile"], "older");
  EXPECT_EQ(state["columns"], nlohmann::json::array({"Date", "Start", "End"}));
  EXPECT_EQ(state["settings"]["LANG"], "eLANG_TWN");
}

TEST_F(TrackerProgramTest, ARowIsReplayedOnTheMapForTheStepsAsked) {
  nlohmann::json state = Run(KEL_TRACKER_EXE, Logs() + " --row 1 --play reverse --speed x3 --steps 4 --showtime");
  ASSERT_EQ(status_, 0) << err_ << state.dump(2);
  const nlohmann::json& map = state["map"];
  EXPECT_TRUE(map["loaded"].get<bool>());
  EXPECT_NE(map["url"].get<std::string>().find("map_ex.html?lang=1"), std::string::npos);
  EXPECT_EQ(map["tileSource"], "none");
  EXPECT_GT(map["pageState"]["routePoints"].get<int>(), 1);
  EXPECT_FALSE(state["playing"].get<bool>());
  EXPECT_EQ(state["direction"], "reverse");
  EXPECT_EQ(state["speed"], "  x  3");
  EXPECT_EQ(map["lastCall"]["trigger"], "map_pointmove");
  EXPECT_EQ(map["lastCall"]["values"]["map_showtime"], "1");
  EXPECT_EQ(map["pageState"]["markerTime"].get<std::string>().size(), 19u);
  // Shown first: point 0 (index 3 after it); then 3, 0 and round past the first point to the end.
  EXPECT_GT(state["pointIndex"].get<int>(), 3);
  EXPECT_GT(state["slider"].get<int>(), 50);

  Run(KEL_TRACKER_EXE, Logs() + " --play sideways --speed 4 --steps 0");
  EXPECT_EQ(status_, 2);
}

TEST_F(TrackerProgramTest, AQuotedPathOpensAndAnOddQuoteOrABadRequestExitsWithTwo) {
  nlohmann::json state = Run(KEL_TRACKER_EXE, ShellQuoted("\"" + logs_.path().string() + "\""));
  ASSERT_EQ(status_, 0) << err_ << state.dump(2);
  EXPECT_FALSE(state["rows"].empty());

  state = Run(KEL_TRACKER_EXE, ShellQuoted("\"" + logs_.path().string()));
  EXPECT_EQ(status_, 2);
  EXPECT_TRUE(state["rows"].empty());
  ASSERT_EQ(state["failures"].size(), 1u);
  EXPECT_NE(state["failures"][0].get<std::string>().find("double quotes"), std::string::npos);

  state = Run(KEL_TRACKER_EXE, Logs() + " --row 99");
  EXPECT_EQ(status_, 2);
  EXPECT_EQ(state["selectedRow"], 0);  // the scan's own first row stays selected

  Run(KEL_TRACKER_EXE, ShellQuoted((dir_ / "nowhere").string()) + " --lang 12");
  EXPECT_EQ(status_, 2);
}

// With a path, --tz acts once the rows are shown and the row is selected, as a user changing
// the box would: the rows are cut again and every note goes with them.
TEST_F(TrackerProgramTest, AZoneGivenWithAPathRecutsTheOpenedRowsAndKeepsEveryNote) {
  tracker::TrackDocument core;
  tracker::CallbackScanHost host;
  ASSERT_EQ(tracker::Open(logs_.path(), {9, 0}, tracker::kCurrentProfile.database_magic, core, host),
            tracker::OpenResult::kRowsReady);
  for (tracker::TripRecord& row : core.trips.rows) {
    tracker::SetFieldText(row.driver, "운전자");
    tracker::SetFieldText(row.comments, "메모");
  }
  const auto saved = dir_ / "notes.KEL";
  ASSERT_TRUE(tracker::SaveTripDatabase(saved, core.trips.rows, core.points, tracker::kCurrentProfile.database_magic));

  const nlohmann::json state = Run(KEL_TRACKER_EXE, ShellQuoted(saved.string()) + " --row 0 --tz 30");
  ASSERT_EQ(status_, 0) << err_ << state.dump(2);
  EXPECT_EQ(state["timeZone"], 30);
  // Cut again: the rows are GMT's (D crosses midnight there and is split in two).
  tracker::TrackDocument gmt;
  ASSERT_EQ(tracker::Open(logs_.path(), {0, 0}, tracker::kCurrentProfile.database_magic, gmt, host),
            tracker::OpenResult::kRowsReady);
  ASSERT_NE(gmt.trips.rows.size(), core.trips.rows.size());
  EXPECT_EQ(state["rows"].size(), gmt.trips.rows.size());
  EXPECT_EQ(state["selectedRow"], 0);
  EXPECT_EQ(state["edits"]["driver"], state["rows"][0]["notes"]["driver"]);
  const auto count = [](const std::string& text, const std::string& word) {
    std::size_t n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++n;
    return n;
  };
  std::size_t drivers = 0, memos = 0;
  for (const nlohmann::json& row : state["rows"]) {
    drivers += count(row["notes"]["driver"].get<std::string>(), "운전자");
    memos += count(row["notes"]["comments"].get<std::string>(), "메모");
  }
  EXPECT_EQ(drivers, core.trips.rows.size());
  EXPECT_EQ(memos, core.trips.rows.size());
  EXPECT_TRUE(state["messages"].empty());
}

}  // namespace
