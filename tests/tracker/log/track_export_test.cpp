#include "tracker/log/track_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "make_point.h"
#include "tests/support/temp_dir.h"
#include "tracker/log/gps_log_writer.h"
#include "tracker/log/rmc_record.h"
#include "tracker/log/trip_list.h"

namespace {

// Two drives on either side of a parking stop, and the day row over them.
class TrackExportTest : public testing::Test {
 protected:
  void SetUp() override {
    auto& p = points_;
    p.push_back(tracker_test::MakePoint(20130101, 235958, 37.5, 127.0, "010.0"));
    p.push_back(tracker_test::MakePoint(20130101, 235959, 37.5001, 127.0001, "020.0"));
    p.push_back(tracker_test::MakePoint(20130102, 0, -33.8688, -151.2093, "005.4"));
    p.push_back(tracker_test::MakePoint(20130102, 1000, -33.8689, -151.2094, "000.0"));
    p.push_back(tracker_test::MakePoint(20130102, 1001, -33.869, -151.2095, "001.0"));
    trips_.rows = {Row(tracker::RowType::kDay, 0, 5), Row(tracker::RowType::kDrive, 0, 3),
                   Row(tracker::RowType::kParking, 2, 2), Row(tracker::RowType::kDrive, 3, 2)};
    trips_.order = {0, 1, 2, 3};
  }

  static tracker::TripRecord Row(tracker::RowType type, int first, int count) {
    tracker::TripRecord row{};
    row.type = type;
    row.first_point = first;
    row.point_count = count;
    std::snprintf(row.start_date, sizeof row.start_date, "20130101");
    std::snprintf(row.start_time, sizeof row.start_time, "%06d", 235958 + first);
    return row;
  }

  tracker::PointStore points_;
  tracker::TripList trips_;
};

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

TEST_F(TrackExportTest, OnlyDriveRowsAreExportedByDefault) {
  EXPECT_EQ(tracker::DriveRowPositions(trips_), (std::vector<std::int32_t>{1, 3}));
}

TEST_F(TrackExportTest, GpxIsReadBackByGpsbabelWithTheSamePointsAndTimes) {
  const std::vector<std::int32_t> drives = tracker::DriveRowPositions(trips_);
  const std::string gpx = tracker::TracksAsGpx(trips_, points_, drives);
  EXPECT_EQ(Count(gpx, "<trk>"), 2u);
  EXPECT_NE(gpx.find("<gpxtpx:speed>10.289</gpxtpx:speed>"), std::string::npos);  // 20 knots in m/s

  testing_support::TempDir scratch;
  testing_support::WriteFile(scratch / "trips.gpx", gpx);
  const std::string csv = RunCommand("gpsbabel -t -i gpx -f " + (scratch / "trips.gpx").string() +
                                     " -x transform,wpt=trk -o unicsv -F - 2>&1");
  EXPECT_EQ(csv,
            "No,Latitude,Longitude,Date,Time\r\n"
            "1,37.500000,127.000000,2013/01/01,23:59:58\r\n"
            "2,37.500100,127.000100,2013/01/01,23:59:59\r\n"
            "3,-33.868800,-151.209300,2013/01/02,00:00:00\r\n"
            "4,-33.868900,-151.209400,2013/01/02,00:10:00\r\n"
            "5,-33.869000,-151.209500,2013/01/02,00:10:01\r\n");
}

TEST_F(TrackExportTest, KmlHasOnePlacemarkWithALinePerRowInLongitudeLatitudeOrder) {
  const std::vector<std::int32_t> drives = tracker::DriveRowPositions(trips_);
  const std::string kml = tracker::TracksAsKml(trips_, points_, drives);
  EXPECT_EQ(Count(kml, "<Placemark>"), 2u);
  EXPECT_EQ(Count(kml, "<LineString>"), 2u);
  EXPECT_NE(kml.find("<coordinates>-151.209400,-33.868900,0 -151.209500,-33.869000,0</coordinates>"),
            std::string::npos);
  EXPECT_NE(kml.find("<name>2013.01.01 23:59:58</name>"), std::string::npos);
}

TEST_F(TrackExportTest, CsvHasOneLinePerPointWithUtcAndLocalTimes) {
  const std::vector<std::int32_t> row{3};
  // Seoul with daylight saving: ten hours ahead.
  const std::string csv = tracker::TracksAsCsv(trips_, points_, row, 10 * 3600);
  EXPECT_EQ(csv,
            "row,utc,local,latitude,longitude,speed_kmh\n"
            "3,2013-01-02T00:10:00Z,2013-01-02 10:10:00,-33.868900,-151.209400,0.00\n"
            "3,2013-01-02T00:10:01Z,2013-01-02 10:10:01,-33.869000,-151.209500,1.85\n");
}

TEST(TrackExport, GpxKeepsFiveDecimalsInEveryQuadrant) {
  // Fixes read from sentences, as a scan stores them, one drive row per quadrant.
  const std::vector<std::pair<double, double>> places = {{48.117299, 11.516661},  {-33.868899, 151.209399},
                                                         {40.712799, -74.006099}, {-33.868899, -151.209399},
                                                         {-8.117299, -71.516661}, {-37.999999, -179.999999}};
  tracker::PointStore points;
  tracker::TripList trips;
  for (const auto& [latitude, longitude] : places) {
    const std::string sentence =
        tracker::FormatGprmcSentence({.year = 2013, .latitude = latitude, .longitude = longitude});
    std::string record = sentence;
    record.resize(tracker::kGpsRecordSize, '\0');
    tracker::TrackPoint point{};
    ASSERT_TRUE(tracker::ParseRmcRecord(std::span<const char, 64>(record.data(), 64), point)) << sentence;
    tracker::TripRecord row{};
    row.type = tracker::RowType::kDrive;
    row.first_point = static_cast<std::int32_t>(points.size());
    row.point_count = 1;
    trips.order.push_back(static_cast<std::int32_t>(trips.rows.size()));
    trips.rows.push_back(row);
    points.push_back(point);
  }
  const std::string gpx = tracker::TracksAsGpx(trips, points, tracker::DriveRowPositions(trips));
  std::size_t at = 0;
  for (const auto& [latitude, longitude] : places) {
    double lat = 0, lon = 0;
    at = gpx.find("<trkpt ", at);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(std::sscanf(gpx.c_str() + at, "<trkpt lat=\"%lf\" lon=\"%lf\"", &lat, &lon), 2);
    // Five decimals (cut in the north-east as ever), and the sentence's 0.0001' steps.
    EXPECT_NEAR(lat, latitude, 1.1e-5) << latitude;
    EXPECT_NEAR(lon, longitude, 1.1e-5) << longitude;
    ++at;
  }
}

TEST_F(TrackExportTest, RowsOutsideTheListOrStoreAreSkipped) {
  trips_.rows[3].point_count = 9;
  const std::vector<std::int32_t> rows{3, 7, -1};
  EXPECT_EQ(tracker::TracksAsCsv(trips_, points_, rows, 0), "row,utc,local,latitude,longitude,speed_kmh\n");
  EXPECT_EQ(Count(tracker::TracksAsGpx(trips_, points_, rows), "<trk>"), 0u);
}

}  // namespace
