#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <random>

#include "manager/output/encode_jpeg.h"
#include "manager/output/grab_frame.h"
#include "manager/output/save_frame_as_jpeg.h"
#include "manager/output/write_file_bytes.h"
#include "manager/playback/transport.h"
#include "tests/manager/playback/channel.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace playback_testing;

struct JpegHeader {
  int width = 0;
  int height = 0;
  int subsampling = -1;
};

std::optional<JpegHeader> ReadJpegHeader(std::string_view bytes) {
  tjhandle decoder = tjInitDecompress();
  JpegHeader header;
  int colourspace = 0;
  const int failed = tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                         &header.width, &header.height, &header.subsampling, &colourspace);
  tjDestroy(decoder);
  if (failed != 0) return std::nullopt;
  return header;
}

std::vector<std::uint8_t> DecodeRgb(std::string_view bytes, int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
  tjhandle decoder = tjInitDecompress();
  tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), pixels.data(), width,
                width * 3, height, TJPF_RGB, 0);
  tjDestroy(decoder);
  return pixels;
}

// The pixel's colour is within `tolerance` of (r, g, b) on every channel.
void ExpectColour(std::span<const std::uint8_t> rgb, std::size_t pixel, int r, int g, int b, int tolerance = 24) {
  EXPECT_NEAR(rgb[pixel * 3], r, tolerance);
  EXPECT_NEAR(rgb[pixel * 3 + 1], g, tolerance);
  EXPECT_NEAR(rgb[pixel * 3 + 2], b, tolerance);
}

TEST(GrabFrame, GivesThePictureOnScreenAsPackedRgb) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kRedThenBlue)));
  const playback::RgbImage* frame = output::GrabFrame(channel.video);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, 320);
  EXPECT_EQ(frame->height, 240);
  ASSERT_EQ(frame->pixels.size(), 320u * 240 * 3);
  for (const std::size_t pixel : {0u, 160u + 120u * 320u, 320u * 240u - 1})
    ExpectColour(frame->pixels, pixel, 255, 0, 0);

  ASSERT_TRUE(playback::SeekTo(channel.video, 15'000'000.0));
  frame = output::GrabFrame(channel.video);
  ASSERT_NE(frame, nullptr);
  ExpectColour(frame->pixels, 160 + 120 * 320, 0, 0, 255);
  EXPECT_EQ(frame, &channel.video.frameBuffer);  // kept for printing
}

TEST(GrabFrame, KeepsRowsInOrderTopFirst) {
  // testsrc2 is not symmetric: the frame's top rows differ from its bottom rows, and a grab
  // turned upside down would not match the decoder's own picture.
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kHd)));
  const auto source = playback::CurrentFrame(channel.video);
  const playback::RgbImage* frame = output::GrabFrame(channel.video);
  ASSERT_TRUE(source && frame);
  for (const int y : {0, 100, 719}) {
    const auto row = source->Row(y);
    for (const int x : {0, 640, 1279}) {
      const std::size_t at = (static_cast<std::size_t>(y) * 1280 + x) * 3;
      EXPECT_EQ(frame->pixels[at], row[x * 4 + 2]);
      EXPECT_EQ(frame->pixels[at + 1], row[x * 4 + 1]);
      EXPECT_EQ(frame->pixels[at + 2], row[x * 4]);
    }
  }
}

TEST(GrabFrame, NothingWithoutAGraph) {
  playback::CVideo video;
  EXPECT_EQ(output::GrabFrame(video), nullptr);
}

TEST(EncodeJpeg, WritesBaseline420ThatReadsBack) {
  constexpr int kWidth = 64;
  constexpr int kHeight = 48;
  std::vector<std::uint8_t> pixels(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* p = &pixels[(y * kWidth + x) * 3];
      p[0] = x < kWidth / 2 ? 250 : 10;  // red left half
      p[1] = 20;
      p[2] = y < kHeight / 2 ? 10 : 240;  // blue bottom half
    }
  }
  std::vector<std::uint8_t> area(playback::kJpegAreaSize);
  const std::size_t length = output::EncodeJpeg(pixels, kWidth, kHeight, area);
  ASSERT_GT(length, 0u);
  const std::string_view stream(reinterpret_cast<const char*>(area.data()), length);
  EXPECT_EQ(stream.substr(0, 2), "\xFF\xD8");
  EXPECT_NE(stream.find("\xFF\xC0"), std::string_view::npos);  // baseline frame header
  const auto header = ReadJpegHeader(stream);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, kWidth);
  EXPECT_EQ(header->height, kHeight);
  EXPECT_EQ(header->subsampling, TJSAMP_420);
  const auto decoded = DecodeRgb(stream, kWidth, kHeight);
  ExpectColour(decoded, 8 * kWidth + 8, 250, 20, 10);
  ExpectColour(decoded, 40 * kWidth + 56, 10, 20, 240);
}

TEST(EncodeJpeg, FailsForBadInputAndStreamsLargerThanTheArea) {
  std::vector<std::uint8_t> area(playback::kJpegAreaSize);
  const std::vector<std::uint8_t> small(16 * 16 * 3, 128);
  EXPECT_EQ(output::EncodeJpeg(small, 16, 15, area), 0u);
  EXPECT_EQ(output::EncodeJpeg(small, 0, 16, area), 0u);
  EXPECT_EQ(output::EncodeJpeg(small, -16, -16, area), 0u);
  EXPECT_EQ(output::EncodeJpeg({}, 16, 16, area), 0u);

  // Noise does not compress: a 1920 x 1080 frame of it at quality 100 is larger than the area.
  std::vector<std::uint8_t> noise(1920 * 1080 * 3);
  std::mt19937 random(3);
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
  EXPECT_EQ(output::EncodeJpeg(noise, 1920, 1080, area), 0u);
  std::vector<std::uint8_t> large(8'000'000);
  EXPECT_GT(output::EncodeJpeg(noise, 1920, 1080, large), playback::kJpegAreaSize);
  std::vector<std::uint8_t> tiny(100);
  EXPECT_EQ(output::EncodeJpeg(small, 16, 16, tiny), 0u);
}

TEST(WriteFileBytes, ReplacesTheFileOrReportsFailure) {
  testing_support::TempDir folder;
  const std::vector<std::uint8_t> bytes{0xFF, 0xD8, 0x00, 0xFF, 0xD9};
  EXPECT_TRUE(output::WriteFileBytes(folder / "a.jpg", bytes));
  EXPECT_EQ(testing_support::ReadFile(folder / "a.jpg"), std::string("\xFF\xD8\x00\xFF\xD9", 5));
  EXPECT_TRUE(output::WriteFileBytes(folder / "a.jpg", std::span(bytes).first(2)));
  EXPECT_EQ(testing_support::ReadFile(folder / "a.jpg"), "\xFF\xD8");
  EXPECT_FALSE(output::WriteFileBytes(folder / "missing" / "a.jpg", bytes));
}

TEST(SaveFrameAsJpeg, WritesTheFrameAndPausesARunningChannel) {
  testing_support::TempDir folder;
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kRedThenBlue)));
  ASSERT_TRUE(playback::SeekTo(channel.video, 12'000'000.0));
  playback::Play(channel.video);
  const auto path = folder / "shot.jpg";
  EXPECT_EQ(output::SaveFrameAsJpeg(channel.video, path), output::FrameSave::Written);
  EXPECT_EQ(channel.video.state, playback::EngineState::kPaused);
  const std::string stream = testing_support::ReadFile(path);
  const auto header = ReadJpegHeader(stream);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 320);
  EXPECT_EQ(header->height, 240);
  EXPECT_EQ(header->subsampling, TJSAMP_420);
  ExpectColour(DecodeRgb(stream, 320, 240), 160 + 120 * 320, 0, 0, 255);

  // A file that cannot be written still counts as a grabbed frame, and says why.
  EXPECT_EQ(output::SaveFrameAsJpeg(channel.video, folder / "missing" / "shot.jpg"), output::FrameSave::NotWritten);
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(SaveFrameAsJpeg, NothingToGrabWithoutAGraph) {
  testing_support::TempDir folder;
  playback::CVideo video;
  EXPECT_EQ(output::SaveFrameAsJpeg(video, folder / "shot.jpg"), output::FrameSave::NothingToGrab);
  EXPECT_FALSE(std::filesystem::exists(folder / "shot.jpg"));
}

}  // namespace
