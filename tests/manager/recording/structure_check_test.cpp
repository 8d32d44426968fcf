#include "manager/recording/structure_check.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using recording::BuildBox;
using recording::CheckRecordingStructure;
using testing_support::BytesReadSoFar;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Handler(std::string_view kind) {
  // version/flags, pre-defined, handler type, reserved, empty name
  return BuildBox("hdlr", std::string(8, '\0') + std::string(kind) + std::string(13, '\0'));
}

std::string Track(std::string_view kind, std::string_view stblPayload = BuildBox("stts", std::string(8, '\0'))) {
  const std::string minf = BuildBox("minf", BuildBox("vmhd", std::string(12, '\0')) + BuildBox("stbl", stblPayload));
  return BuildBox("trak", BuildBox("tkhd", std::string(84, '\0')) +
                              BuildBox("mdia", BuildBox("mdhd", std::string(24, '\0')) + Handler(kind) + minf));
}

std::string File(const std::string& moovPayload, std::size_t mediaBytes = 1000) {
  return BuildBox("ftyp", "isom\0\0\0\0isomavc1") + BuildBox("mdat", std::string(mediaBytes, 'x')) +
         BuildBox("moov", BuildBox("mvhd", std::string(100, '\0')) + moovPayload);
}

int Check(const std::string& bytes) {
  TempDir dir;
  WriteFile(dir / "drf_20100101_000000.mp4", bytes);
  return CheckRecordingStructure((dir / "drf_20100101_000000.mp4").string());
}

TEST(StructureCheck, AcceptsTheCameraLayoutWhereverTheVideoTrackStands) {
  EXPECT_EQ(Check(File(Track("vide"))), 0);
  EXPECT_EQ(Check(File(Track("soun") + Track("vide"))), 0);
  // The third track is reached through a second refill, whose offset comes from the second
  // window's own position in the file.
  EXPECT_EQ(Check(File(Track("soun") + Track("text") + Track("vide"))), 0);
  // The first video track decides: a broken one after it is never looked at.
  EXPECT_EQ(Check(File(Track("vide") + Track("vide", BuildBox("stsd", "")))), 0);
  // A media box larger than one window moves the movie header far from the head.
  EXPECT_EQ(Check(File(Track("soun") + Track("vide"), 300000)), 0);
}

TEST(StructureCheck, ReportsAMissingLinkAsBroken) {
  EXPECT_EQ(Check(File(Track("soun"))), -1) << "no video track";
  EXPECT_EQ(Check(File(Track("vide", BuildBox("stsd", "")))), -1) << "no stts";
  EXPECT_EQ(Check(BuildBox("ftyp", "isom") + BuildBox("mdat", "data")), -1) << "ends after mdat";
  const std::string moovFirst = BuildBox("ftyp", "isom") + BuildBox("moov", Track("vide")) +
                                BuildBox("free", std::string(5000, '\0')) + BuildBox("mdat", "data");
  EXPECT_EQ(Check(moovFirst), -1) << "no mdat in the first 4 KiB";
  EXPECT_EQ(Check(BuildBox("ftyp", "isom") + BuildBox("mdat", "data") + BuildBox("free", "") +
                  BuildBox("moov", Track("vide"))),
            -1)
      << "the box after mdat must be moov";
  // A movie header over 128 KiB whose stts lies beyond the window.
  EXPECT_EQ(Check(File(Track("vide", BuildBox("stsd", std::string(140000, '\0')) + BuildBox("stts", "")))), -1);
}

TEST(StructureCheck, DamagedSizesEndTheWalkInsteadOfLooping) {
  std::string zeroSized = File(Track("vide"));
  const std::size_t trak = zeroSized.find("trak") - 4;
  zeroSized.replace(trak, 4, std::string(4, '\0'));
  EXPECT_EQ(Check(zeroSized), -1);

  std::string tinyMdat = File(Track("vide"));
  tinyMdat.replace(tinyMdat.find("mdat") - 4, 4, std::string("\0\0\0\1", 4));
  EXPECT_EQ(Check(tinyMdat), -1);

  std::string hugeTrack = File(Track("soun") + Track("vide"));
  hugeTrack.replace(hugeTrack.find("trak") - 4, 4, "\x7f\xff\xff\xff");
  EXPECT_EQ(Check(hugeTrack), -1) << "a refill past the end of the file";

  EXPECT_EQ(Check(""), -1);
}

TEST(StructureCheck, TheWorkPerFileIsBounded) {
  // Hundreds of thousands of tiny sound tracks ahead of the video track: each used to cost a
  // fresh 128 KiB read, some 40 GB for this 12 MB file. No recording has this many tracks.
  std::string tracks;
  const std::string tiny = BuildBox("trak", BuildBox("mdia", Handler("soun")));
  for (int i = 0; i < 300000; ++i) tracks += tiny;
  TempDir dir;
  WriteFile(dir / "drf_20100101_000000.mp4", File(tracks + Track("vide")));
  const std::uint64_t before = BytesReadSoFar();
  EXPECT_EQ(CheckRecordingStructure((dir / "drf_20100101_000000.mp4").string()), -1);
  EXPECT_LT(BytesReadSoFar() - before, 1u << 20);

  // Moving on to the next track keeps what the window holds: two tracks read little more
  // than one window, and a stts beyond the window seen from the video track is still beyond.
  EXPECT_EQ(Check(File(Track("soun") + Track("text") + Track("vide"))), 0);
  EXPECT_EQ(
      Check(File(Track("soun") + Track("vide", BuildBox("stsd", std::string(140000, '\0')) + BuildBox("stts", "")))),
      -1);
  EXPECT_EQ(Check(File(Track("soun", BuildBox("stsd", std::string(140000, '\0'))) + Track("vide"))), 0)
      << "a sound track larger than the window";
}

TEST(StructureCheck, CannotOpen) {
  TempDir dir;
  EXPECT_EQ(CheckRecordingStructure((dir / "missing.mp4").string()), -2);
  EXPECT_EQ(CheckRecordingStructure(dir.path().string()), -2);
  // A FIFO named like a recording is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo((dir / "drf_20100315_142530.mp4").c_str(), 0600), 0);
  EXPECT_EQ(CheckRecordingStructure((dir / "drf_20100315_142530.mp4").string()), -2);
}

TEST(StructureCheck, RealEncodedRecordings) {
  TempDir dir;
  testing_support::MakeCameraClip(dir / "camera.mp4");
  EXPECT_EQ(CheckRecordingStructure((dir / "camera.mp4").string()), 0);
  testing_support::MakeCameraClip(dir / "faststart.mp4", {}, /*fastStart=*/true);
  EXPECT_EQ(CheckRecordingStructure((dir / "faststart.mp4").string()), -1);
}

TEST(FindBox, StopsAtTheEndItIsGiven) {
  const std::string boxes = BuildBox("free", "abcd") + BuildBox("stts", "");
  const std::span<const std::uint8_t> window(reinterpret_cast<const std::uint8_t*>(boxes.data()), boxes.size());
  std::size_t position = 0;
  EXPECT_EQ(recording::FindBox(window, position, boxes.size(), "stts"), 0);
  EXPECT_EQ(position, 12u);
  position = 0;
  EXPECT_EQ(recording::FindBox(window, position, boxes.size() - 1, "stts"), -1) << "header not wholly inside";
  EXPECT_EQ(position, 0u) << "position only moves on success";
}

}  // namespace
