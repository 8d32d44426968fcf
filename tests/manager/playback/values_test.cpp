#include <gtest/gtest.h>

#include <cmath>

#include "manager/playback/messages.h"
#include "manager/playback/transport.h"
#include "manager/playback/video_geometry.h"

namespace {

using playback::LetterBox;
using playback::VideoRect;

TEST(VolumeOfLevel, FollowsTheTable) {
  EXPECT_EQ(playback::VolumeOfLevel(1.0), 0);
  EXPECT_EQ(playback::VolumeOfLevel(0.9), -45);
  EXPECT_EQ(playback::VolumeOfLevel(0.5), -301);
  EXPECT_EQ(playback::VolumeOfLevel(0.1), -999);
  EXPECT_EQ(playback::VolumeOfLevel(0.01), -1999);
  EXPECT_EQ(playback::VolumeOfLevel(0.0), -10000);
  EXPECT_EQ(playback::VolumeOfLevel(-3.0), -10000);
  EXPECT_EQ(playback::VolumeOfLevel(7.0), 0);
  EXPECT_EQ(playback::VolumeOfLevel(std::nan("")), -10000);
}

TEST(LinearGainOfVolume, IsTheAmplitudeOfTheDecibels) {
  EXPECT_EQ(playback::LinearGainOfVolume(0), 1.0);
  EXPECT_NEAR(playback::LinearGainOfVolume(-600), 0.501187, 1e-6);  // -6 dB
  EXPECT_EQ(playback::LinearGainOfVolume(-10000), 0.0);
  EXPECT_EQ(playback::LinearGainOfVolume(-20000), 0.0);
}

TEST(LetterBox, KeepsTheAspectRatioCentred) {
  EXPECT_EQ(LetterBox({1280, 720}, {0, 0, 640, 480}), (VideoRect{0, 60, 640, 420}));
  EXPECT_EQ(LetterBox({640, 480}, {0, 0, 640, 360}), (VideoRect{80, 0, 560, 360}));
  EXPECT_EQ(LetterBox({640, 480}, {0, 0, 320, 240}), (VideoRect{0, 0, 320, 240}));
  EXPECT_EQ(LetterBox({640, 480}, {10, 20, 330, 260}), (VideoRect{10, 20, 330, 260}));
  EXPECT_EQ(LetterBox({0, 480}, {0, 0, 320, 240}), (VideoRect{0, 0, 0, 0}));
  EXPECT_EQ(LetterBox({640, 480}, {0, 0, -5, 240}), (VideoRect{0, 0, 0, 0}));
}

TEST(HexCode, IsEightLowerCaseDigits) {
  EXPECT_EQ(playback::HexCode(playback::kNoFreePad), "0x80040216");
  EXPECT_EQ(playback::HexCode(0xABC), "0x00000abc");
}

}  // namespace
