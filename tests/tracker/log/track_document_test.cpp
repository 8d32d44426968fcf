#include "tracker/log/track_document.h"
#include "tracker/log/trip_database.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "database_magics.h"
#include "fake_scan_host.h"
#include "tests/support/temp_dir.h"
#include "three_day_log.h"
#include "tracker/app/rules/row_display.h"
#include "tracker/log/field_text.h"
#include "tracker/log/gps_log_writer.h"
#include "tracker/log/row_statistics.h"

namespace {

using tracker::FieldText;
using tracker::OpenResult;
using tracker::TripRecord;

constexpr tracker::TimeZoneOffset kUtc{0, 0};

// type, start texts, points, then total/stop/parking seconds, speed sum and the shown texts.
std::string Describe(const TripRecord& row) {
  const tracker::RowDisplay shown = tracker::DisplayValues(row);
  return std::to_string(static_cast<int>(row.type)) + " " + std::string(FieldText(row.start_date)) + " " +
         std::string(FieldText(row.start_time)) + " " + std::to_string(row.first_point) + "+" +
         std::to_string(row.point_count) + " t" + std::to_string(row.total_time) + " s" +
         std::to_string(row.stop_time) + " p" + std::to_string(row.parking_time) + " v" +
         std::to_string(static_cast<int>(row.speed_sum)) + " | " + shown.distance_km + " " + shown.distance_miles +
         " " + shown.average_kmh + " " + shown.average_mph + " " + shown.max_kmh + " " + shown.driving_time + " " +
         shown.parking_duration;
}

class TrackDocumentTest : public testing::Test {
 protected:
  testing_support::TempDir dir_;
  tracker::TrackDocument document_;
  tracker_test::FakeScanHost host_;
};

TEST_F(TrackDocumentTest, ThreeDaysOfLogsGiveTheRowsWorkedOutByHand) {
  tracker_test::WriteThreeDayLog(dir_.path());
  ASSERT_EQ(tracker::Open(dir_.path(), kUtc, tracker_test::kKelMagic, document_, host_), OpenResult::kRowsReady);
  // 210 fixes: the repeated sentence counts once, the last fix of the scan stays.
  ASSERT_EQ(document_.points.size(), 210u);
  EXPECT_EQ(FieldText(document_.points.back().latitude), "1.019900");

  std::vector<std::string> listed;
  for (std::int32_t index : document_.trips.order) listed.push_back(Describe(document_.trips.rows[index]));
  const std::vector<std::string> expected = {
      "0 20130101 100000 0+120 t117 s10 p50282 v2889 | 1.68 1.05 50.00 31.10 50.00 00:01:57 13:58:02",
      "1 20130101 100000 0+50 t49 s10 p0 v1053 | 0.61 0.38 50.00 31.10 50.00 00:00:49 00:00:00",
      "-1 20130101 100049 49+2 t0 s0 p1200 v0 | 0.00 0.00 0.00 0.00 0.00 00:00:00 00:20:00",
      "1 20130101 102049 50+40 t39 s0 p0 v1053 | 0.61 0.38 50.00 31.10 50.00 00:00:39 00:00:00",
      "-1 20130101 102128 89+2 t0 s0 p49082 v0 | 0.00 0.00 0.00 0.00 0.00 00:00:00 13:38:02",
      "1 20130101 235930 90+30 t29 s0 p0 v783 | 0.46 0.28 50.00 31.10 50.00 00:00:29 00:00:00",
      "-1 20130101 235959 119+2 t0 s0 p0 v0 | 0.00 0.00 0.00 0.00 0.00 00:00:00 00:00:00",
      "0 20130102 000000 120+50 t48 s0 p86351 v1296 | 0.76 0.47 50.00 31.10 50.00 00:00:48 23:59:11",
      "1 20130102 000000 120+10 t9 s0 p0 v243 | 0.14 0.09 50.00 31.10 50.00 00:00:09 00:00:00",
      "-1 20130102 000009 129+2 t0 s0 p85791 v0 | 0.00 0.00 0.00 0.00 0.00 00:00:00 23:49:51",
      "1 20130102 235000 130+40 t39 s0 p0 v1053 | 0.61 0.38 50.00 31.10 50.00 00:00:39 00:00:00",
      "-1 20130102 235039 169+2 t0 s0 p560 v0 | 0.00 0.00 0.00 0.00 0.00 00:00:00 00:09:20",
      "0 20130103 080000 170+40 t39 s0 p0 v1053 | 0.61 0.38 50.00 31.10 50.00 00:00:39 00:00:00",
      "1 20130103 080000 170+40 t39 s0 p0 v1053 | 0.61 0.38 50.00 31.10 50.00 00:00:39 00:00:00",
  };
  EXPECT_EQ(listed, expected);
  // Table order: days first, then drives and parking rows as they were opened.
  ASSERT_EQ(document_.trips.rows.size(), 14u);
  EXPECT_EQ(document_.trips.rows[3].type, tracker::RowType::kDrive);
  EXPECT_EQ(document_.trips.rows[5].type, tracker::RowType::kParking);
  for (std::size_t i = 0; i < document_.trips.rows.size(); ++i) {
    EXPECT_EQ(document_.trips.rows[i].row_index, static_cast<std::int32_t>(i));
  }
  EXPECT_EQ(host_.progress.back().phase, tracker::ScanPhase::kDone);

  // The one-walk sums of the whole table equal the row-by-row statistics.
  for (const TripRecord& row : document_.trips.rows) {
    TripRecord alone = row;
    tracker::ComputeRowStatistics(alone, document_.points, 0);
    EXPECT_EQ(alone.distance, row.distance) << Describe(row);
    EXPECT_EQ(alone.total_time, row.total_time) << Describe(row);
    EXPECT_EQ(alone.stop_time, row.stop_time) << Describe(row);
    EXPECT_EQ(alone.speed_sum, row.speed_sum) << Describe(row);
    EXPECT_EQ(alone.max_speed, row.max_speed) << Describe(row);
    if (row.type != tracker::RowType::kDay) {
      EXPECT_EQ(alone.parking_time, row.parking_time);
    }
  }
}

TEST_F(TrackDocumentTest, AFolderWithoutFixesGivesTheNotice) {
  testing_support::WriteFile(dir_ / "readme.txt", "nothing here");
  std::filesystem::create_directories(dir_ / "empty");
  EXPECT_EQ(tracker::Open(dir_.path(), kUtc, tracker_test::kKelMagic, document_, host_), OpenResult::kNoData);
  EXPECT_EQ(tracker::Open(dir_ / "empty", kUtc, tracker_test::kKelMagic, document_, host_), OpenResult::kNoData);
}

TEST_F(TrackDocumentTest, OpenLoadsATripDatabaseAndRefusesOtherFiles) {
  testing_support::WriteFile(dir_ / "trips.dat", "x");
  tracker::DatabaseError refused = tracker::DatabaseError::kNone;
  EXPECT_EQ(tracker::Open(dir_ / "nowhere", kUtc, tracker_test::kKelMagic, document_, host_), OpenResult::kMissing);
  EXPECT_EQ(tracker::Open(dir_ / "trips.dat", kUtc, tracker_test::kKelMagic, document_, host_, &refused),
            OpenResult::kRefusedFile);
  EXPECT_EQ(refused, tracker::DatabaseError::kShortHeader);
  EXPECT_TRUE(host_.progress.empty());

  std::filesystem::create_directories(dir_ / "logs");
  tracker_test::WriteThreeDayLog(dir_ / "logs");
  ASSERT_EQ(tracker::Open(dir_ / "logs", kUtc, tracker_test::kKelMagic, document_, host_), OpenResult::kRowsReady);
  const auto saved = document_.trips.rows;
  ASSERT_TRUE(
      tracker::SaveTripDatabase(dir_ / "trips.KEL", document_.trips.rows, document_.points, tracker_test::kKelMagic));
  tracker::TrackDocument loaded;
  EXPECT_EQ(tracker::Open(dir_ / "trips.KEL", kUtc, tracker_test::kKelMagic, loaded, host_), OpenResult::kRowsReady);
  EXPECT_EQ(loaded.points.size(), document_.points.size());
  EXPECT_EQ(loaded.trips.rows.size(), saved.size());
}

// Memory running out anywhere in the scan (here: while the second file is read) gives the
// notice and an empty document, not a crash.
class OutOfMemoryHost : public tracker_test::FakeScanHost {
 public:
  void Progress(int value, tracker::ScanPhase phase) override {
    FakeScanHost::Progress(value, phase);
    if (progress.size() == 2) throw std::bad_alloc();
  }
};

TEST_F(TrackDocumentTest, RunningOutOfMemoryEndsWithTheNotice) {
  tracker_test::WriteThreeDayLog(dir_.path());
  OutOfMemoryHost host;
  EXPECT_EQ(tracker::Open(dir_.path(), kUtc, tracker_test::kKelMagic, document_, host), OpenResult::kOutOfMemory);
  EXPECT_TRUE(document_.points.empty());
  EXPECT_TRUE(document_.trips.rows.empty());
}

TEST_F(TrackDocumentTest, CancellingStopsWithinOneFile) {
  tracker_test::WriteThreeDayLog(dir_.path());
  host_.cancel_after_reports = 2;  // set while the second file is about to be read
  EXPECT_EQ(tracker::Open(dir_.path(), kUtc, tracker_test::kKelMagic, document_, host_), OpenResult::kCancelled);
  EXPECT_EQ(host_.progress.size(), 2u);
  EXPECT_TRUE(document_.points.empty());
}

}  // namespace
