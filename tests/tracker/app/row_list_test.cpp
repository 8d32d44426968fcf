#include "tracker/app/rules/row_list.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/tracker/log/make_point.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"

namespace {

using tracker::RowType;
using tracker::TripRecord;

TripRecord Row(RowType type, int first, int count, const char* date) {
  TripRecord row;
  std::memset(&row, 0, sizeof row);
  row.type = type;
  row.first_point = first;
  row.point_count = count;
  tracker::SetFieldText(row.start_date, date);
  return row;
}

class RowListTest : public testing::Test {
 protected:
  void SetUp() override {
    points_.push_back(tracker_test::MakePoint(20130101, 232000, 37.5, 127.0));
    points_.push_back(tracker_test::MakePoint(20130101, 233000, 37.6, 127.0));
    points_.push_back(tracker_test::MakePoint(20130101, 235959, 37.7, 127.0));
  }
  tracker::PointStore points_;
};

TEST_F(RowListTest, DaysDrivesAndParkingReadAsTheListShowsThem) {
  const tracker::ListItem day = tracker::MakeListItem(Row(RowType::kDay, 0, 3, "20130101"), points_, 0);
  EXPECT_EQ(day.columns, (std::array<std::string, 3>{"20130101", "23:20:00", "23:59:59"}));
  EXPECT_EQ(day.image, 0);
  EXPECT_TRUE(day.bold);
  EXPECT_TRUE(day.checked);
  EXPECT_EQ(day.rgb, 0x282828u);

  const tracker::ListItem drive = tracker::MakeListItem(Row(RowType::kDrive, 1, 2, "20130101"), points_, 0);
  EXPECT_EQ(drive.columns[0], " - 20130101");
  EXPECT_EQ(drive.columns[1], "23:30:00");
  EXPECT_EQ(drive.image, 1);
  EXPECT_FALSE(drive.bold);
  EXPECT_EQ(drive.rgb, 0x50A02Du);

  const tracker::ListItem parking = tracker::MakeListItem(Row(RowType::kParking, 0, 2, "20130101"), points_, 0);
  EXPECT_EQ(parking.columns[2], "23:30:00");
  EXPECT_EQ(parking.image, 2);
  EXPECT_EQ(parking.rgb, 0xFA8700u);
}

TEST_F(RowListTest, TimesFollowTheShownZoneAcrossMidnightButTheDateIsTheRows) {
  // Kathmandu (+5:45) with the daylight-saving hour: 6 h 45 min after UTC.
  const std::int64_t kathmandu_dst = tracker::OffsetSeconds({5, 45}, true);
  const tracker::ListItem day = tracker::MakeListItem(Row(RowType::kDay, 0, 3, "20130102"), points_, kathmandu_dst);
  EXPECT_EQ(day.columns, (std::array<std::string, 3>{"20130102", "06:05:00", "06:44:59"}));
  EXPECT_EQ(tracker::ClockText(points_[0], tracker::OffsetSeconds({-3, -30}, false)), "19:50:00");
}

TEST_F(RowListTest, ARowWhosePointsAreNotThereShowsNoTimesAndStartsUnticked) {
  for (const TripRecord& row : {Row(RowType::kDrive, 2, 5, "20130101"), Row(RowType::kDrive, 0, 0, "20130101"),
                                Row(RowType::kDrive, -1, 2, "20130101")}) {
    const tracker::ListItem item = tracker::MakeListItem(row, points_, 0);
    EXPECT_EQ(item.columns[1], "");
    EXPECT_EQ(item.columns[2], "");
    EXPECT_FALSE(item.checked);
  }
}

TEST(RowListColours, PaletteValuesAreBlueGreenRedInMemory) {
  EXPECT_EQ(tracker::RgbOfColorRef(0x0087FA), 0xFA8700u);
  EXPECT_EQ(tracker::RgbOfColorRef(0x2DA050), 0x50A02Du);
  EXPECT_EQ(tracker::RgbOfColorRef(0x123456), 0x563412u);
}

TEST(RowListToolTip, KindWordOfTheLanguageAndTheStartDate) {
  const TripRecord drive = Row(RowType::kDrive, 0, 2, "20130101");
  EXPECT_EQ(tracker::RowToolTip(drive, 0, tracker::kCurrentProfile), "Driving : 20130101");
  EXPECT_EQ(tracker::RowToolTip(Row(RowType::kDay, 0, 2, "20130101"), 1, tracker::kCurrentProfile),
            "일일 데이터 : 20130101");
  EXPECT_EQ(tracker::RowToolTip(Row(RowType::kParking, 0, 2, "20130101"), 11, tracker::kCurrentProfile),
            "停車(熄火) : 20130101");
  EXPECT_EQ(tracker::RowToolTip(Row(RowType::kParking, 0, 2, "20130101"), 11, tracker::kOlderProfile),
            "Parking : 20130101");
}

TEST(RowTexts, EditsAreCutToTheFieldWithoutSplittingACharacter) {
  TripRecord row = Row(RowType::kDrive, 0, 2, "20130101");
  tracker::SetRowText(row, tracker::RowTextField::kDriver, "Kim");
  EXPECT_EQ(tracker::RowText(row, tracker::RowTextField::kDriver), "Kim");
  // Eleven Korean letters take 33 bytes; the 32-byte field keeps ten of them (30 bytes).
  const std::string korean = "가나다라마바사아자차카";
  tracker::SetRowText(row, tracker::RowTextField::kDriver, korean);
  EXPECT_EQ(tracker::RowText(row, tracker::RowTextField::kDriver), korean.substr(0, 30));
  const std::string long_text(200, 'x');
  tracker::SetRowText(row, tracker::RowTextField::kComments, long_text);
  EXPECT_EQ(tracker::RowText(row, tracker::RowTextField::kComments).size(), 127u);
  tracker::SetRowText(row, tracker::RowTextField::kPurpose, "Büro");
  EXPECT_EQ(tracker::RowText(row, tracker::RowTextField::kPurpose), "Büro");
  EXPECT_EQ(tracker::RowText(row, tracker::RowTextField::kComments).size(), 127u);
}

}  // namespace
