#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tracker/log/gps_log_writer.h"

namespace tracker_test {

// Writes three days of driving (UTC) as the camera would, worked out by hand in the tests:
//   A 2013-01-01 10:00:00-10:00:39  40 fixes moving 0.0001° north-east a second at 27 knots
//   B            10:00:40-10:00:49  10 fixes standing where A ended
//   C            10:20:49-10:21:28  40 fixes moving on (20 minutes after B)
//   D            23:59:30-00:00:09  40 fixes moving on, over midnight
//   E 2013-01-02 23:50:00-23:50:39  40 fixes moving on
//   F 2013-01-03 08:00:00-08:00:39  40 fixes moving on
// C's first sentence is also written at the end of the first file. A text file and a log in
// a subfolder must not add anything.
inline void WriteThreeDayLog(const std::filesystem::path& folder) {
  int position = 0;
  const auto fixes = [&](int day, int start, int count, bool moving) {
    std::vector<std::string> sentences;
    for (int i = 0; i < count; ++i) {
      if (moving && i > 0) ++position;
      const int t = start + i;
      tracker::GpsFix fix{.year = 2013,
                          .month = 1,
                          .day = day + t / 86400,
                          .hour = t % 86400 / 3600,
                          .minute = t % 3600 / 60,
                          .second = t % 60,
                          .latitude = 1.0 + position * 0.0001,
                          .longitude = 1.0 + position * 0.0001,
                          .speed_knots = moving ? 27.0 : 0.0};
      sentences.push_back(tracker::FormatGprmcSentence(fix));
    }
    ++position;
    return sentences;
  };
  std::vector<std::string> a = fixes(1, 36000, 40, true);
  --position;
  std::vector<std::string> b = fixes(1, 36040, 10, false);
  std::vector<std::string> c = fixes(1, 37249, 40, true);
  std::vector<std::string> d = fixes(1, 86370, 40, true);
  std::vector<std::string> e = fixes(2, 85800, 40, true);
  std::vector<std::string> f = fixes(3, 28800, 40, true);
  b.push_back(c.front());

  tracker::WriteGpsLog(folder / "01.log", std::vector<tracker::GpsChunk>{{a, 12, 0}, {b, 0, 7}});
  tracker::WriteGpsLog(folder / "02.log", std::vector<tracker::GpsChunk>{{c, 0, 0}});
  tracker::WriteGpsLog(folder / "03.log", std::vector<tracker::GpsChunk>{{d, 3, 3}, {e, 0, 0}});
  tracker::WriteGpsLog(folder / "04.log", std::vector<tracker::GpsChunk>{{f, 0, 0}});
  testing_support::WriteFile(folder / "zz_notes.txt", "not a log\n");
  std::filesystem::create_directories(folder / "sub");
  tracker::WriteGpsLog(folder / "sub" / "05.log", std::vector<tracker::GpsChunk>{{a, 0, 0}});
}

}  // namespace tracker_test
