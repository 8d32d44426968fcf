#include "tracker/app/rules/row_notes.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tracker/log/fake_scan_host.h"
#include "tests/tracker/log/make_point.h"
#include "tracker/log/field_text.h"
#include "tracker/log/trip_builder.h"

namespace {

using tracker::RowType;

// Two drives four hours apart that straddle midnight in UTC but not in Seoul:
//   A 2013-01-01 22:00:00-22:04:59 UTC, B 2013-01-02 02:00:00-02:04:59 UTC.
// In UTC that is two days (B opens the second); at +09:00 it is one day, 2013-01-02.
tracker::PointStore TwoDrives() {
  tracker::PointStore points;
  for (int i = 0; i < 300; ++i)
    points.push_back(tracker_test::MakePoint(20130101, tracker_test::Clock(22 * 3600 + i), 37.5 + i * 1e-4, 127.0));
  for (int i = 0; i < 300; ++i)
    points.push_back(tracker_test::MakePoint(20130102, tracker_test::Clock(2 * 3600 + i), 37.6 + i * 1e-4, 127.1));
  return points;
}

tracker::RowTable Cut(const tracker::PointStore& points, int hours) {
  tracker_test::FakeScanHost host;
  return tracker::CutTrips(points, {hours, 0}, host).value().rows;
}

// The row-table index of the row of `type` whose first fix is `first`.
std::size_t Find(const tracker::RowTable& rows, RowType type, int first) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].type == type && rows[i].first_point == first) return i;
  }
  ADD_FAILURE() << "no such row";
  return 0;
}

void Write(tracker::TripRecord& row, const char* driver, const char* purpose, const char* comments) {
  tracker::SetFieldText(row.driver, driver);
  tracker::SetFieldText(row.purpose, purpose);
  tracker::SetFieldText(row.comments, comments);
}

struct Expected {
  RowType type;
  int first;
  std::string driver, purpose, comments;
  bool ticked;
};

TEST(RowNotesTest, NotesAndTicksFollowTheirRowsIntoTheNewZone) {
  const tracker::PointStore points = TwoDrives();
  struct Case {
    const char* name;
    int from_hours, to_hours;
    // Notes written in the first zone: row kind, first fix, texts, tick.
    std::vector<Expected> written;
    std::vector<Expected> expected;
    std::size_t overflow;
  };
  const std::vector<Case> cases = {
      {"another zone with the same offset gives every note back",
       9,
       9,
       {{RowType::kDay, 0, "김철수", "출장", "서울→부산", false},
        {RowType::kDrive, 300, "B", "", "", true},
        {RowType::kParking, 299, "", "", "주차", false}},
       {{RowType::kDay, 0, "김철수", "출장", "서울→부산", false},
        {RowType::kDrive, 300, "B", "", "", true},
        {RowType::kParking, 299, "", "", "주차", false}},
       0},
      {"a day that merges into the one before hands over its notes, joined",
       0,
       9,
       {{RowType::kDay, 0, "Kim", "", "first day", true},
        {RowType::kDay, 300, "Lee", "visit", "second day", true},
        {RowType::kDrive, 300, "drive B", "", "", false}},
       {{RowType::kDay, 0, "Kim / Lee", "visit", "first day\nsecond day", true},
        {RowType::kDrive, 300, "drive B", "", "", false}},
       0},
      {"a day split off takes the tick of the day that held it, and no notes",
       9,
       0,
       {{RowType::kDay, 0, "Kim", "", "", false}},
       {{RowType::kDay, 0, "Kim", "", "", false}, {RowType::kDay, 300, "", "", "", false}},
       0},
      {"a joined note too long for its field is kept aside, not cut",
       0,
       9,
       {{RowType::kDay, 0, "운전자 이름 열글자", "", "", true},
        {RowType::kDay, 300, "두번째 운전자 이름", "", "", true}},
       {{RowType::kDay, 0, "운전자 이름 열글자", "", "", true}},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tracker::RowTable before = Cut(points, c.from_hours);
    std::vector<char> ticked(before.size(), 1);
    for (const Expected& w : c.written) {
      const std::size_t i = Find(before, w.type, w.first);
      Write(before[i], w.driver.c_str(), w.purpose.c_str(), w.comments.c_str());
      ticked[i] = w.ticked ? 1 : 0;
    }
    const std::vector<tracker::KeptNotes> kept = tracker::KeepNotes(before, ticked, points);

    tracker::RowTable after = Cut(points, c.to_hours);
    const tracker::GivenBack given = tracker::GiveNotesBack(kept, after, points);
    ASSERT_EQ(given.ticked.size(), after.size());
    for (const Expected& e : c.expected) {
      const std::size_t i = Find(after, e.type, e.first);
      EXPECT_EQ(tracker::FieldText(after[i].driver), e.driver);
      EXPECT_EQ(tracker::FieldText(after[i].purpose), e.purpose);
      EXPECT_EQ(tracker::FieldText(after[i].comments), e.comments);
      EXPECT_EQ(given.ticked[i] != 0, e.ticked);
    }
    ASSERT_EQ(given.overflow.size(), c.overflow);
    if (c.overflow > 0) {
      EXPECT_EQ(given.overflow[0].text, "두번째 운전자 이름");
      EXPECT_EQ(given.overflow[0].field, 0);
    }
  }
}

}  // namespace
