#include "manager/recording/open_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_reader.h"
#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using recording::BuildBox;
using recording::CauseOf;
using recording::CheckBeforeOpening;
using recording::OpenVerdict;

std::string BigEndian32(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (24 - 8 * i));
  return bytes;
}

std::string Handler(std::string_view kind) {
  return BuildBox("hdlr", std::string(8, '\0') + std::string(kind) + std::string(13, '\0'));
}

// A video track of `format` whose one chunk starts at `chunkOffset`.
std::string VideoTrack(std::string_view format, std::uint32_t chunkOffset, std::uint32_t samples = 30) {
  const std::string entry = BuildBox(format, std::string(78, '\0'));
  const std::string stbl = BuildBox("stsd", std::string(4, '\0') + BigEndian32(1) + entry) +
                           BuildBox("stts", std::string(8, '\0')) +
                           BuildBox("stsz", std::string(8, '\0') + BigEndian32(samples)) +
                           BuildBox("stco", std::string(4, '\0') + BigEndian32(1) + BigEndian32(chunkOffset));
  return BuildBox("trak", BuildBox("mdia", Handler("vide") + BuildBox("minf", BuildBox("stbl", stbl))));
}

std::string SoundTrack() { return BuildBox("trak", BuildBox("mdia", Handler("soun"))); }

// The camera's layout: ftyp, media data, then the movie header.
std::string File(const std::string& tracks, std::size_t mediaBytes = 1000) {
  return BuildBox("ftyp", "isom\0\0\0\0isomavc1") + BuildBox("mdat", std::string(mediaBytes, 'x')) +
         BuildBox("moov", BuildBox("mvhd", std::string(100, '\0')) + tracks);
}

std::string Repeated(const std::string& piece, int times) {
  std::string bytes;
  for (int i = 0; i < times; ++i) bytes += piece;
  return bytes;
}

TEST(CheckBeforeOpening, SaysWhyAFileCannotBePlayed) {
  const std::string sound = File(VideoTrack("avc1", 40));
  const std::string manyFree = Repeated(BuildBox("free", ""), 2000) + File(VideoTrack("avc1", 40));
  std::string largeMdat = BuildBox("ftyp", "isom") + BigEndian32(1) + "mdat" + std::string(4, '\0') +
                          BigEndian32(16 + 500) + std::string(500, 'x');
  largeMdat += BuildBox("moov", VideoTrack("avc3", 40));
  struct Case {
    const char* what;
    std::string bytes;
    OpenVerdict verdict;
  };
  const std::vector<Case> cases = {
      {"a recording as the camera writes it", sound, OpenVerdict::kPlayable},
      {"movie header first",
       BuildBox("ftyp", "isom") + BuildBox("moov", VideoTrack("avc1", 200)) + BuildBox("mdat", std::string(1000, 'x')),
       OpenVerdict::kPlayable},
      {"a 64-bit media box", largeMdat, OpenVerdict::kPlayable},
      {"sound tracks before the video, under the cap", File(Repeated(SoundTrack(), 63) + VideoTrack("avc1", 40)),
       OpenVerdict::kPlayable},
      {"a trailing box cut short after the movie header", sound + BigEndian32(5000) + "udta" + "xx",
       OpenVerdict::kPlayable},
      {"HEVC", File(VideoTrack("hvc1", 40)), OpenVerdict::kHevc},
      {"HEVC, parameters in band", File(VideoTrack("hev1", 40)), OpenVerdict::kHevc},
      {"AV1", File(VideoTrack("av01", 40)), OpenVerdict::kAv1},
      {"H.263", File(VideoTrack("s263", 40)), OpenVerdict::kH263},
      {"MPEG-4 Visual", File(VideoTrack("mp4v", 40)), OpenVerdict::kMpeg4Visual},
      {"some other format", File(VideoTrack("xyz1", 40)), OpenVerdict::kOtherVideoFormat},
      {"no movie header (power cut)", BuildBox("ftyp", "isom") + BuildBox("mdat", std::string(1000, 'x')),
       OpenVerdict::kCutOff},
      {"the movie header cut short", sound.substr(0, sound.size() - 10), OpenVerdict::kCutOff},
      {"media box claims more than the file holds", BuildBox("ftyp", "isom") + BigEndian32(100000) + "mdat",
       OpenVerdict::kCutOff},
      {"movie header first, the media cut away", BuildBox("ftyp", "isom") + BuildBox("moov", VideoTrack("avc1", 5000)),
       OpenVerdict::kCutOff},
      {"65 tracks before the video", File(Repeated(SoundTrack(), 65) + VideoTrack("avc1", 40)),
       OpenVerdict::kTooManyTracks},
      {"thousands of boxes", manyFree, OpenVerdict::kTooManyBoxes},
      {"sound only", File(SoundTrack()), OpenVerdict::kNoVideoTrack},
      {"a video track without samples", File(VideoTrack("avc1", 40, 0)), OpenVerdict::kNoVideoTrack},
      {"text", std::string(5000, 'x'), OpenVerdict::kNotMp4},
      {"seven bytes", std::string("\0\0\0\x08mda", 7), OpenVerdict::kNotMp4},
      {"a first box too small to be one", BigEndian32(3) + "ftyp" + std::string(100, '\0'), OpenVerdict::kNotMp4},
  };
  for (const Case& c : cases) {
    const auto check = CheckBeforeOpening(common::AsBytes(c.bytes));
    EXPECT_EQ(check.verdict, c.verdict) << c.what;
    EXPECT_EQ(CauseOf(check.verdict, check.videoFormat).empty(), c.verdict == OpenVerdict::kPlayable) << c.what;
  }
}

TEST(CheckBeforeOpening, HalfAMillionTracksAreCountedOnlyUpToTheCap) {
  // As the bad card's crafted recording: the check stops at the cap instead of walking them all.
  const std::string bytes = File(Repeated(SoundTrack(), 450000) + VideoTrack("avc1", 40));
  const auto check = CheckBeforeOpening(common::AsBytes(bytes));
  EXPECT_EQ(check.verdict, OpenVerdict::kTooManyTracks);
  EXPECT_EQ(check.tracks, recording::kOpenCheckMostTracks + 1);
}

TEST(CheckBeforeOpening, ReadsRealRecordingsAndRefusesWhatIsNoFile) {
  testing_support::TempDir dir;
  testing_support::MakeCameraClip(dir / "camera.mp4");
  testing_support::MakeCameraClip(dir / "fast.mp4", {}, /*fastStart=*/true);
  EXPECT_EQ(CheckBeforeOpening((dir / "camera.mp4").string()).verdict, OpenVerdict::kPlayable);
  EXPECT_EQ(CheckBeforeOpening((dir / "fast.mp4").string()).verdict, OpenVerdict::kPlayable);
  EXPECT_EQ(CheckBeforeOpening((dir / "missing.mp4").string()).verdict, OpenVerdict::kCannotOpen);
  EXPECT_EQ(CheckBeforeOpening(dir.path().string()).verdict, OpenVerdict::kCannotOpen);
}

TEST(CauseOf, NamesTheFormatAndThePackage) {
  EXPECT_EQ(CauseOf(OpenVerdict::kHevc), "the video is HEVC (H.265); this program plays H.264 recordings");
  EXPECT_EQ(CauseOf(OpenVerdict::kCutOff), "the file ends before its media data (the recording was cut off)");
  EXPECT_EQ(CauseOf(OpenVerdict::kNotMp4), "the file is not an MP4 recording");
  // A format of unprintable bytes is shown without them.
  EXPECT_EQ(CauseOf(OpenVerdict::kOtherVideoFormat, std::string("ab\n\x01", 4)),
            "the video is in the format \"ab??\"; this program plays H.264 recordings");
  EXPECT_EQ(recording::MissingElementCause("avdec_h264"),
            "the GStreamer element avdec_h264 is missing (install the Debian package gstreamer1.0-libav)");
  EXPECT_EQ(recording::MissingElementCause("no-such-element"), "the GStreamer element no-such-element is missing");
}

}  // namespace
