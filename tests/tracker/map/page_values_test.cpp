#include "tracker/map/page_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tracker/log/make_point.h"
#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
#include "tracker/log/route_encoding.h"

namespace {

// How the two builds hand routes over: thinned with levels, or every point without them.
constexpr tracker::RouteStyle kThinned{true, true};
constexpr tracker::RouteStyle kEveryPoint{false, false};

using tracker::PageCall;

std::vector<std::string> Ids(const PageCall& call) {
  std::vector<std::string> ids;
  for (const auto& [id, text] : call.values) ids.push_back(id);
  return ids;
}

std::string ValueOf(const PageCall& call, const std::string& id) {
  for (const auto& [key, text] : call.values) {
    if (key == id) return text;
  }
  return "<missing>";
}

class PageValuesTest : public testing::Test {
 protected:
  void SetUp() override {
    // 2013-01-01 23:50:00 UTC onwards, three fixes a minute apart.
    points_.push_back(tracker_test::MakePoint(20130101, 235000, 37.5, 127.0, "010.5"));
    points_.push_back(tracker_test::MakePoint(20130101, 235100, 37.51, 127.01, "020.0"));
    points_.push_back(tracker_test::MakePoint(20130101, 235200, 37.52, 127.0, "000.0"));
    row_.type = tracker::RowType::kDrive;
    row_.first_point = 0;
    row_.point_count = 3;
    row_.distance = 0.000123456789;
    row_.total_time = 120;
    row_.stop_time = 7;
    row_.speed_sum = 30.5;
    row_.max_speed = 20.0;
    tracker::SetFieldText(row_.driver, "Lee");
    tracker::SetFieldText(row_.purpose, "Work");
    tracker::SetFieldText(row_.comments, "<b>&\"quoted\"");
  }

  tracker::PointStore points_;
  tracker::TripRecord row_{};
};

TEST_F(PageValuesTest, ShowRowSendsSixteenValuesInOrderThenInitData) {
  // Kathmandu (+5:45) with the daylight-saving hour: 23:50 UTC shows as 06:35 next day.
  const std::int64_t offset = tracker::OffsetSeconds({5, 45}, true);
  const auto call = tracker::ShowRowCall(row_, points_, offset, true, kThinned);
  ASSERT_TRUE(call);
  EXPECT_EQ(Ids(*call),
            (std::vector<std::string>{"start_lat", "start_lng", "start_time", "end_lat", "end_lng", "end_time",
                                      "map_path", "map_levels", "total_Distance", "total_Time", "total_StopTime",
                                      "averageSpeed", "maxSpeed", "driver", "purpose", "comment"}));
  EXPECT_EQ(call->trigger, "init_data");
  EXPECT_EQ(ValueOf(*call, "start_lat"), "37.50000");
  EXPECT_EQ(ValueOf(*call, "start_lng"), "127.00000");
  EXPECT_EQ(ValueOf(*call, "start_time"), "2013.01.02 06:35:00");
  EXPECT_EQ(ValueOf(*call, "end_lat"), "37.52000");
  EXPECT_EQ(ValueOf(*call, "end_time"), "2013.01.02 06:37:00");
  const tracker::EncodedRoute route = tracker::EncodeRowRoute(row_, points_, true);
  EXPECT_EQ(ValueOf(*call, "map_path"), route.path);
  EXPECT_EQ(ValueOf(*call, "map_levels"), route.levels);
  EXPECT_EQ(ValueOf(*call, "total_Distance"), "0.000123");
  EXPECT_EQ(ValueOf(*call, "total_Time"), "120");
  EXPECT_EQ(ValueOf(*call, "total_StopTime"), "7");
  EXPECT_EQ(ValueOf(*call, "averageSpeed"), "30.500000");
  EXPECT_EQ(ValueOf(*call, "maxSpeed"), "20.000000");
  EXPECT_EQ(ValueOf(*call, "driver"), "Lee");
  EXPECT_EQ(ValueOf(*call, "comment"), "<b>&\"quoted\"");
}

TEST_F(PageValuesTest, EveryPointWithoutLevelsSendsFifteenValues) {
  const auto call = tracker::ShowRowCall(row_, points_, 0, true, kEveryPoint);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->values.size(), 15u);
  EXPECT_EQ(ValueOf(*call, "map_levels"), "<missing>");
  EXPECT_EQ(call->values[7].first, "total_Distance");
}

TEST_F(PageValuesTest, AParkingRowEndsAtItsSecondPointWithoutALine) {
  row_.type = tracker::RowType::kParking;
  row_.point_count = 2;
  const auto call = tracker::ShowRowCall(row_, points_, 0, false, kThinned);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->trigger, "init_data_no_line");
  EXPECT_EQ(ValueOf(*call, "end_lat"), "37.51000");
  EXPECT_EQ(ValueOf(*call, "end_time"), "2013.01.01 23:51:00");
  // The route still shows the points after the stop, as many as there are.
  EXPECT_EQ(ValueOf(*call, "map_levels").size(), 3u);
}

TEST_F(PageValuesTest, ARowWithoutPointsSendsNothing) {
  row_.point_count = 0;
  EXPECT_FALSE(tracker::ShowRowCall(row_, points_, 0, true, kThinned));
  row_.point_count = 4;  // past the store: a damaged row is not shown either
  EXPECT_FALSE(tracker::ShowRowCall(row_, points_, 0, true, kThinned));
}

TEST_F(PageValuesTest, MoveMarkerSendsThePointAtZoomTwelve) {
  const PageCall hidden = tracker::MoveMarkerCall(points_[1], tracker::OffsetSeconds({9, 0}, false), false);
  EXPECT_EQ(hidden.values, (std::vector<std::pair<std::string, std::string>>{{"map_latitude", "37.51000"},
                                                                             {"map_longitude", "127.01000"},
                                                                             {"map_zoomlevel", "12"},
                                                                             {"map_day", "2013.01.02"},
                                                                             {"map_time", "08:51:00"},
                                                                             {"map_showtime", "0"}}));
  EXPECT_EQ(hidden.trigger, "map_pointmove");
  EXPECT_EQ(ValueOf(tracker::MoveMarkerCall(points_[1], 0, true), "map_showtime"), "1");
  // Newfoundland (-3:30) goes back over midnight the other way.
  const PageCall west = tracker::MoveMarkerCall(points_[0], tracker::OffsetSeconds({-3, -30}, false), true);
  EXPECT_EQ(ValueOf(west, "map_day"), "2013.01.01");
  EXPECT_EQ(ValueOf(west, "map_time"), "20:20:00");
}

TEST(PageCallTest, LanguageGoesAsOneCharacterAndTheAddressAsANumber) {
  EXPECT_EQ(tracker::ChangeLanguageCall(0).values.at(0), (std::pair<std::string, std::string>{"map_language", "0"}));
  EXPECT_EQ(tracker::ChangeLanguageCall(10).values.at(0).second, ":");
  EXPECT_EQ(tracker::ChangeLanguageCall(11).values.at(0).second, ";");
  EXPECT_EQ(tracker::ChangeLanguageCall(11).trigger, "onChangeLanguage");
  EXPECT_EQ(tracker::PageAddress("qrc:/map/map_ex.html", 10), "qrc:/map/map_ex.html?lang=10");
  const PageCall print = tracker::PrintCall();
  EXPECT_TRUE(print.values.empty());
  EXPECT_EQ(print.trigger, "onPrint");
}

}  // namespace
