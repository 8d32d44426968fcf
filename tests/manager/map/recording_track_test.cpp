// The drive handed to the map: the valid fixes of the recording's sensor record, in order,
// and nothing the map cannot draw.
#include <gtest/gtest.h>

#include <cmath>

#include "manager/display/rules/recording_track.h"
#include "manager/recording/user_data_writer.h"
#include "tests/manager/map/sensor_record_maker.h"

namespace {

TEST(RecordingTrack, KeepsValidFixesInOrderAndDropsTheRest) {
  recording::UserDataContent content;
  content.gpsSentences = {
      recording::FormatRmcSentence(1000, 37.5665, 126.9780, 10, 90),
      recording::FormatRmcSentence(1001, 37.5666, 126.9790, 10, 90, /*valid=*/false),
      "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
      "",
      recording::FormatRmcSentence(1002, 0.0, 126.9800, 10, 90),   // no position
      recording::FormatRmcSentence(1003, 95.5, 126.9800, 10, 90),  // off the globe
      recording::FormatRmcSentence(1004, 37.0, 181.5, 10, 90),
      recording::FormatRmcSentence(1005, -33.8688, -151.2093, 5, 180),  // south and west
      recording::FormatRmcSentence(1006, 37.5667, 126.9810, 10, 90),
  };
  const auto record = testing_support::SensorRecordOf(content);
  ASSERT_EQ(record.noData, 0);

  const std::vector<display::LatLng> track = display::RecordingTrack(record);
  ASSERT_EQ(track.size(), 3u);
  EXPECT_NEAR(track[0][0], 37.5665, 1e-4);
  EXPECT_NEAR(track[0][1], 126.9780, 1e-4);
  EXPECT_NEAR(track[1][0], -33.8688, 1e-4);
  EXPECT_NEAR(track[1][1], -151.2093, 1e-4);
  EXPECT_NEAR(track[2][1], 126.9810, 1e-4);
}

TEST(RecordingTrack, EmptyWithoutData) {
  recording::SensorRecord empty;
  EXPECT_TRUE(display::RecordingTrack(empty).empty());

  recording::UserDataContent content;
  content.gpsSentences = {recording::FormatRmcSentence(1000, 37.5665, 126.9780, 10, 90)};
  auto record = testing_support::SensorRecordOf(content);
  record.noData = 1;  // a parse that failed
  EXPECT_TRUE(display::RecordingTrack(record).empty());
}

TEST(MapPosition, FiniteAndOnTheGlobeOnly) {
  EXPECT_TRUE(display::IsMapPosition(37.566535, 126.977969));
  EXPECT_TRUE(display::IsMapPosition(-90, -180));
  EXPECT_TRUE(display::IsMapPosition(90, 180));
  EXPECT_TRUE(display::IsMapPosition(1.0, 1.0));  // "no position" is handed on
  EXPECT_FALSE(display::IsMapPosition(90.0001, 0));
  EXPECT_FALSE(display::IsMapPosition(0, -180.0001));
  EXPECT_FALSE(display::IsMapPosition(NAN, 10));
  EXPECT_FALSE(display::IsMapPosition(10, INFINITY));
  EXPECT_FALSE(display::IsMapPosition(-INFINITY, 10));
}

}  // namespace
