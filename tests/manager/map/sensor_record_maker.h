#pragma once

// Sensor records made in memory for the map tests.
#include <cstddef>
#include <vector>

#include "manager/recording/sensor_record.h"
#include "manager/recording/user_data_writer.h"
#include "tools/samplecard/route.h"

namespace testing_support {

// The record LoadSensorRecord would give for a file holding `content`'s udta box.
inline recording::SensorRecord SensorRecordOf(recording::UserDataContent content) {
  content.times.resize(content.gpsSentences.size(), 0);
  content.gsensor.resize(content.gpsSentences.size() * 10);
  const std::string box = recording::BuildUserDataBox(content);
  recording::SensorRecord record;
  record.copy.assign(box.begin(), box.end());
  record.cursor = 0;
  record.noData = recording::ParseUserData(record) == recording::kParseOk ? 0 : 1;
  return record;
}

// A drive of `seconds` as the camera records it, with its seconds without a fix.
struct RecordedDrive {
  recording::SensorRecord record;
  std::size_t validFixes = 0;
};

inline RecordedDrive RecordDrive(std::uint64_t seed, int seconds) {
  samplecard::Random random(seed);
  samplecard::Place from;
  const std::vector<samplecard::RouteFix> fixes = samplecard::Drive(random, 1268663130, seconds, from);
  recording::UserDataContent content;
  RecordedDrive drive;
  for (const auto& f : fixes) {
    content.gpsSentences.push_back(
        recording::FormatRmcSentence(f.utc, f.latitude, f.longitude, f.knots, f.course, f.valid));
    if (f.valid) ++drive.validFixes;
  }
  drive.record = SensorRecordOf(std::move(content));
  return drive;
}

}  // namespace testing_support
