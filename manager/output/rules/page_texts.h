#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "manager/recording/samples.h"
#include "manager/setup/profile.h"

namespace output {

// The recording date and time on the printed page: the time sample's fields as UTC,
// "YYYY-MM-DD hh:mm:ss"; "0000-00-00 00:00:00" without a sample; a negative sample cannot be
// broken down and prints "TT " and the fields a failed breakdown leaves (all -1).
std::string RecordingTimeText(std::optional<recording::TimeSample> time);

// The record's samples for a playback position (100 ns units); none when there is no record,
// it holds no usable data, or the table has no sample there.
std::optional<recording::TimeSample> TimeSampleAt(const recording::SensorRecord* record, std::int64_t position);
std::optional<recording::GSensorSample> GSensorSampleAt(const recording::SensorRecord* record, std::int64_t position);
// The speed of the GPS sample at the position in knots, as the panel decodes it; none
// without a sample.
std::optional<double> GpsSpeedAt(const recording::SensorRecord* record, std::int64_t position);

// What the page says about the moment being printed.
struct PageFacts {
  std::optional<recording::TimeSample> time;
  std::optional<recording::GSensorSample> gsensor;
  double speedKnots = 0;
  std::tm printedAt{};  // local time when the page was made
};

// The page's texts in the current language.
struct PageTexts {
  std::string title;
  std::string dateLine;
  std::string gSensorLine;
  std::string speedLine;
  std::string printTime;
};

// The G-sensor line names the stored values by the profile's axes, as the screen does.
PageTexts BuildPageTexts(const PageFacts& facts, const setup::Profile& profile);

// "Resolution. : 640 x 480", under each picture.
std::string ResolutionText(int width, int height);

// "YYYY-MM-DD hh:mm:ss" of local time fields.
std::string PrintTimeText(const std::tm& local);

// The computer's local time now.
std::tm LocalTimeNow();

}  // namespace output
