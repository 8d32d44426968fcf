// blackbox frame and blackbox play, run as a user would.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <sstream>

#include "tests/manager/playback/playback_fixtures.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace playback_testing;
using testing_support::RunCommand;
using testing_support::ShellQuoted;

testing_support::CommandResult Blackbox(const std::string& arguments) {
  return RunCommand(std::string(BLACKBOX_EXE) + " " + arguments);
}

std::string Quoted(const std::filesystem::path& path) { return ShellQuoted(path.string()); }

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(BlackboxFrame, WritesThePictureAtTheAskedTime) {
  testing_support::TempDir folder;
  const auto out = folder / "shot.jpg";
  const auto run = Blackbox("frame " + Quoted(ClipPath(Clip::kRedThenBlue)) + " --at 1.5 -o " + Quoted(out));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string jpeg = testing_support::ReadFile(out);
  tjhandle decoder = tjInitDecompress();
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  ASSERT_EQ(tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), &width,
                                &height, &subsampling, &colourspace),
            0);
  std::vector<unsigned char> rgb(320 * 240 * 3);
  tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), rgb.data(), 320, 0, 240,
                TJPF_RGB, 0);
  tjDestroy(decoder);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
  const std::size_t centre = (120 * 320 + 160) * 3;
  EXPECT_LT(rgb[centre], 40);
  EXPECT_GT(rgb[centre + 2], 215);  // the blue second
}

TEST(BlackboxFrame, ReportsEachFailureOnOneLine) {
  testing_support::TempDir folder;
  const auto out = Quoted(folder / "shot.jpg");
  const auto missing = Blackbox("frame " + Quoted(folder / "none.mp4") + " --at 1 -o " + out);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(LineCount(missing.err), 1);
  EXPECT_NE(missing.err.find("not found"), std::string::npos);

  const auto broken = Blackbox("frame " + Quoted(ClipPath(Clip::kNoMovie)) + " --at 1 -o " + out);
  EXPECT_EQ(broken.status, 2);
  EXPECT_EQ(broken.err,
            "blackbox: pFSF->Load failed : error code = 0x80004005: "
            "the file ends before its media data (the recording was cut off)\n");

  const std::string clip = Quoted(ClipPath(Clip::kSilent));
  for (const std::string& arguments :
       {clip + " --at 1", clip + " -o " + out, clip + " --at -1 -o " + out, clip + " --at soon -o " + out,
        clip + " --at 9 -o " + out, clip + " --at 2 -o " + out}) {
    const auto bad = Blackbox("frame " + arguments);
    EXPECT_EQ(bad.status, 1) << arguments;
    EXPECT_EQ(LineCount(bad.err), 1) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "shot.jpg"));

  const auto unwritable = Blackbox("frame " + clip + " --at 1 -o " + Quoted(folder / "no" / "shot.jpg"));
  EXPECT_EQ(unwritable.status, 2);
}

TEST(Blackbox, FramePrintAndPlayRefuseHostileFilesAtOnceWithTheirCause) {
  testing_support::TempDir folder;
  for (const HostileFile& file : kHostileFiles) {
    SCOPED_TRACE(file.what);
    const std::string path = Quoted(ClipPath(file.clip));
    for (const std::string& command : {"frame " + path + " --at 0 -o " + Quoted(folder / "shot.jpg"),
                                       "print " + path + " --at 0 -o " + Quoted(folder / "page.pdf"), "play " + path}) {
      const auto run = Blackbox(command);
      EXPECT_EQ(run.status, 2) << command;
      EXPECT_EQ(LineCount(run.err), 1) << run.err;
      EXPECT_NE(run.err.find(std::string(": ") + file.cause + "\n"), std::string::npos) << run.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "shot.jpg"));
  EXPECT_FALSE(std::filesystem::exists(folder / "page.pdf"));
}

TEST(BlackboxPlay, PlaysToTheEndAndPrintsTheEvents) {
  const auto run = Blackbox("play " + Quoted(ClipPath(Clip::kSilent)) + " --rate 4");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "event 1 EC_COMPLETE 0x00000000 0x00000000\nposition 20000000\nduration 20000000\n");
}

TEST(BlackboxPlay, StartsWhereAsked) {
  const auto run = Blackbox("play " + Quoted(ClipPath(Clip::kCutShort)) + " --rate 4 --seek 0.5");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string event, position, duration;
  std::getline(lines, event);
  std::getline(lines, position);
  std::getline(lines, duration);
  EXPECT_EQ(event.rfind("event 1 EC_COMPLETE", 0), 0u);
  // The cut recording ends before its declared length.
  EXPECT_LT(std::stoll(position.substr(9)), std::stoll(duration.substr(9)));
  EXPECT_GT(std::stoll(position.substr(9)), 5'000'000);
}

TEST(BlackboxPlay, FailsOnBrokenFilesAndBadArguments) {
  const auto broken = Blackbox("play " + Quoted(ClipPath(Clip::kBrokenMedia)));
  EXPECT_EQ(broken.status, 2);
  EXPECT_EQ(broken.out.rfind("event 3 EC_ERRORABORT 0x80004005", 0), 0u);
  EXPECT_EQ(LineCount(broken.err), 1);
  EXPECT_NE(broken.err.find("stopped on an error: the recording's media data is damaged"), std::string::npos)
      << broken.err;

  const auto noMovie = Blackbox("play " + Quoted(ClipPath(Clip::kNoMovie)));
  EXPECT_EQ(noMovie.status, 2);
  EXPECT_EQ(LineCount(noMovie.err), 1);

  const std::string clip = Quoted(ClipPath(Clip::kSilent));
  for (const std::string& arguments : {std::string(), clip + " --rate 8", clip + " --rate 0.1", clip + " --seek 3",
                                       clip + " --seek x", clip + " --loop"}) {
    const auto bad = Blackbox("play " + arguments);
    EXPECT_EQ(bad.status, 1) << arguments;
    EXPECT_EQ(LineCount(bad.err), 1) << arguments;
  }
}

}  // namespace
