// blackbox find: the recordings of a moment on a card, as a script asks.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/manager/timeline/fake_recording.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::ShellQuoted;
namespace fs = std::filesystem;

testing_support::CommandResult Blackbox(const std::string& args) {
  return testing_support::RunCommand(std::string(BLACKBOX_EXE) + " " + args);
}

TEST(FindCommand, AnswersInTheCamerasTimeOrUtcAndSaysWhenNothingCoversTheMoment) {
  testing_support::TempDir card;
  testing_support::WriteFile(card / "SETUP/Setup.ini", "TimeZone        = 71 ;\r\nDST        = 1 ;\r\n");
  // Seoul with daylight saving: the camera's 16:00:00 is 06:00:00 UTC.
  testing_support::WriteFile(card / "CONTINUOUS/drf_20240513_160000.mp4", testing_support::FakeRecording(60, {}));
  testing_support::WriteFile(card / "EVENT/drf_20240513_160030.mp4", testing_support::FakeRecording(20, {}));
  const std::string at = " " + ShellQuoted(card.path().string()) + " --time ";

  struct Case {
    std::string args;
    int status;
    std::string out;
  };
  const std::string continuous = (card / "CONTINUOUS/drf_20240513_160000.mp4").string();
  const std::string event = (card / "EVENT/drf_20240513_160030.mp4").string();
  const std::vector<Case> cases = {
      {"find" + at + "'2024-05-13 16:00:40'", 0,
       "SENS\t2024-05-13 16:00:30\t10.0\t" + event + "\nCONTINUOUS\t2024-05-13 16:00:00\t40.0\t" + continuous + "\n"},
      {"find" + at + "'2024-05-13 06:00:05' --utc", 0, "CONTINUOUS\t2024-05-13 16:00:00\t5.0\t" + continuous + "\n"},
      {"find" + at + "'2024-05-13 16:01:00'", 2, ""},
      {"find" + at + "'2024-05-13 25:00:00'", 1, ""},
      {"find" + at.substr(0, at.size() - 8), 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const auto result = Blackbox(c.args);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_EQ(result.out, c.out);
    if (c.status == 2) {
      EXPECT_EQ(result.err,
                "blackbox: no recording covers that moment\nnearest recording: 2024-05-13 16:00:00 "
                "(camera time) " +
                    continuous + "\n");
    }
  }

  const auto json = Blackbox("find" + at + "'2024-05-13 16:00:45' --json");
  ASSERT_EQ(json.status, 0) << json.err;
  const auto answer = nlohmann::json::parse(json.out);
  EXPECT_EQ(answer["moment_utc"], "2024-05-13 06:00:45");
  EXPECT_EQ(answer["camera_zone_seconds"], 10 * 3600);
  ASSERT_EQ(answer["matches"].size(), 2u);
  EXPECT_EQ(answer["matches"][0]["path"], event);
  EXPECT_EQ(answer["matches"][0]["offset_seconds"], 15.0);
  EXPECT_EQ(answer["matches"][1]["rear"], nullptr);
}

}  // namespace
