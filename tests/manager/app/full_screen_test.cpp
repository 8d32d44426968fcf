// The full-screen layout on a 1920 x 1080 screen: what moves, what hides, what comes back.
#include <gtest/gtest.h>
#include <QTableView>
#include <QTest>

#include <fstream>

#include "manager/app/playback_control.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/rules/video_layout.h"
#include "manager/display/skin.h"
#include "manager/display/video_widget.h"
#include "tests/manager/app/window_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace window_testing;
using samplecard::RecordingKind;
namespace commands = display::commands;

// Before the application exists: one offscreen screen of 1920 x 1080.
std::unique_ptr<app::ManagerWindow> MakeWindowOnALargeScreen() {
  static testing_support::TempDir dir;
  static const bool configured = [] {
    const auto file = dir / "screens.json";
    std::ofstream(file) << R"({"screens":[{"name":"s1","x":0,"y":0,"width":1920,"height":1080,)"
                           R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + file.string()).c_str());
    return true;
  }();
  (void)configured;
  return MakeWindow(setup::kDualProfile);
}

void OpenAndPause(app::ManagerWindow& window, const char* card) {
  window.LoadFolder(CopyOfCard(card).string());
  window.ClickRow(RowOf(RecordingKind::Normal));
  ASSERT_TRUE(WaitFor([&] { return window.VideoWindow(0)->PaintedFrames() > 0; }));
  window.OnCommand(commands::kPause);
  window.OnTimer(app::kPositionTimerId);
}

TEST(FullScreen, FillsTheScreenWithTheVideoAndTheTransport) {
  auto window = MakeWindowOnALargeScreen();
  EXPECT_EQ(window->geometry(), QRect(448, 156, 1024, 768));
  OpenAndPause(*window, "full");
  ASSERT_TRUE(window->mapView()->isVisible());

  window->OnCommand(commands::kFullScreen);
  EXPECT_TRUE(window->fullScreen());
  EXPECT_EQ(window->geometry(), QRect(0, 0, 1920, 1080));
  EXPECT_TRUE(window->Button(commands::kFullScreen)->Toggled());
  for (const auto& place : display::FullScreenButtonPlaces(1920, 1080)) {
    const auto& r = place.rect;
    EXPECT_EQ(window->Button(place.id)->geometry(), QRect(r.left, r.top, r.Width(), r.Height())) << place.id;
  }
  for (const int id : {commands::kPrint, commands::kSnapshot, commands::kSetup, commands::kSwap, commands::kFolder}) {
    EXPECT_FALSE(window->Button(id)->isVisible()) << id;
  }
  EXPECT_FALSE(window->listView()->isVisible());
  EXPECT_FALSE(window->Label(app::controls::kFileName)->isVisible());
  EXPECT_FALSE(window->mapView()->isVisible());
  EXPECT_EQ(window->videoRect(), display::Rect::FromSize(120, 49, 1680, 945));
  EXPECT_EQ(window->VideoWindow(0)->geometry(), QRect(120, 49, 1680, 945));
  EXPECT_FALSE(window->VideoWindow(1)->isVisible());
  EXPECT_NE(window->timeText(), "00:00:00 / 00:00:00");

  // The frame: black around the video, the position bar filled up to its thumb.
  const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown.pixel(60, 500), qRgb(0, 0, 0));
  const display::Skin skin(setup::kDualProfile);
  const int thumb = 139 + window->transport().fullScreenOffset();
  EXPECT_EQ(shown.copy(thumb, 996, 11, 19), skin.Bitmap(display::bitmaps::kFullScreenThumb));
  const QImage& empty = skin.Bitmap(display::bitmaps::kFullScreenBarEmpty);
  EXPECT_EQ(shown.pixel(1900, 1005), empty.pixel(empty.width() - 1, 5));
  if (thumb > 141) {
    const QImage& filled = skin.Bitmap(display::bitmaps::kFullScreenBarFilled);
    EXPECT_EQ(shown.pixel(140, 1005), filled.pixel(0, 5));
  }

  // A press on the full-screen bar seeks and plays.
  QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(139 + 886, 1005));
  EXPECT_EQ(window->playState(), app::kPlaying);
  EXPECT_EQ(window->transport().fullScreenOffset(), 886);

  window->OnCommand(commands::kFullScreen);
  EXPECT_FALSE(window->fullScreen());
  EXPECT_EQ(window->geometry(), QRect(448, 156, 1024, 768));
  for (const auto& spec : display::kImageButtons) {
    EXPECT_EQ(window->Button(spec.id)->geometry(),
              QRect(spec.place.left, spec.place.top, spec.place.Width(), spec.place.Height()))
        << spec.id;
    EXPECT_TRUE(window->Button(spec.id)->isVisible()) << spec.id;
  }
  EXPECT_TRUE(window->listView()->isVisible());
  EXPECT_TRUE(window->mapView()->isVisible());
  EXPECT_EQ(window->VideoWindow(0)->geometry(), QRect(25, 120, 640, 360));  // fitted to 16 x 9
  EXPECT_EQ(window->VideoWindow(1)->geometry(), QRect(679, 252, 320, 240));
  EXPECT_TRUE(window->VideoWindow(1)->isVisible());
}

TEST(FullScreen, WithSwappedChannelsTheRearFillsTheScreen) {
  auto window = MakeWindowOnALargeScreen();
  OpenAndPause(*window, "swapped");
  window->OnCommand(commands::kSwap);
  window->OnCommand(commands::kFullScreen);
  EXPECT_TRUE(window->VideoWindow(1)->isVisible());
  EXPECT_FALSE(window->VideoWindow(0)->isVisible());
  // The aspect step comes from channel 1 (16 x 9) even when channel 2 is shown.
  EXPECT_EQ(window->VideoWindow(1)->geometry(), QRect(120, 49, 1680, 945));

  // A recording opened now builds channel 1 hidden and channel 2 shown, when it has a rear file.
  window->OnCommand(commands::kNext);
  ASSERT_TRUE(WaitFor([&] { return window->playState() == app::kPlaying || !window->hasChannel2(); }));
  EXPECT_EQ(window->VideoWindow(0)->isVisible(), !window->hasChannel2());
  EXPECT_EQ(window->VideoWindow(1)->isVisible(), window->hasChannel2());
  EXPECT_FALSE(window->mapView()->isVisible());

  // An empty map does not appear on the way back when nothing is open.
  window->OnCommand(commands::kStop);
  window->OnCommand(commands::kFullScreen);
  EXPECT_FALSE(window->mapView()->isVisible());
}

// The user drags the borderless window by its title band; full screen and back returns it there.
TEST(FullScreen, LeavingPutsTheWindowBackWhereTheUserMovedIt) {
  auto window = MakeWindowOnALargeScreen();
  window->show();
  const QPoint start = window->pos();
  QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(300, 20));
  QTest::mouseMove(window.get(), QPoint(200, 50));
  QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(200, 50));
  const QPoint moved = start + QPoint(-100, 30);
  ASSERT_EQ(window->pos(), moved);

  window->OnCommand(commands::kFullScreen);
  EXPECT_EQ(window->geometry(), QRect(0, 0, 1920, 1080));
  window->OnCommand(commands::kFullScreen);
  EXPECT_EQ(window->geometry(), QRect(moved, QSize(1024, 768)));
}

// Swapped channels and a recording without its rear file: the front channel fills the screen
// rather than an empty rear window with channel 1 playing hidden.
TEST(FullScreen, WithoutARearFileChannelOneIsShownEvenWhenSwapped) {
  auto window = MakeWindowOnALargeScreen();
  window->LoadFolder(CopyOfCard("norear").string());
  window->OnCommand(commands::kSwap);
  window->OnCommand(commands::kFullScreen);
  window->ClickRow(RowOf(RecordingKind::NoCompanion));
  ASSERT_TRUE(WaitFor([&] { return window->VideoWindow(0)->PaintedFrames() > 0; }));
  EXPECT_FALSE(window->hasChannel2());
  EXPECT_TRUE(window->VideoWindow(0)->isVisible());
  EXPECT_FALSE(window->VideoWindow(1)->isVisible());
  EXPECT_EQ(window->VideoWindow(0)->geometry(), QRect(120, 49, 1680, 945));

  // Entering full screen anew with this recording open shows channel 1 too.
  window->OnCommand(commands::kFullScreen);
  window->OnCommand(commands::kFullScreen);
  EXPECT_TRUE(window->VideoWindow(0)->isVisible());
  EXPECT_FALSE(window->VideoWindow(1)->isVisible());
}

}  // namespace
