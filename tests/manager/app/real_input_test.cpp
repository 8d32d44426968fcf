// The main window driven as a user drives it: QTest mouse and key events on the real widgets,
// checked against what the automation path (ClickRow, OnCommand, the transport's OnPress) does.
#include <gtest/gtest.h>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "common/gui/message_box.h"
#include "manager/app/playback_control.h"
#include "manager/display/image_button.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/video_widget.h"
#include "tests/manager/app/window_fixture.h"

namespace {

using namespace window_testing;
using app::ManagerWindow;
using samplecard::RecordingKind;
namespace commands = display::commands;

QPoint RowCentre(QTableView* list, int row) { return list->visualRect(list->model()->index(row, 0)).center(); }

// What a window system sends for a click and a double click.
void Click(QWidget* widget, QPoint at) {
  QTest::mousePress(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}
void DoubleClick(QWidget* widget, QPoint at) {
  Click(widget, at);
  QTest::mousePress(widget, Qt::LeftButton, {}, at);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

bool Playing(const ManagerWindow& window) {
  return window.playState() == app::kPlaying && window.VideoWindow(0)->PaintedFrames() > 0;
}

TEST(RealInput, EachClickOrDoubleClickOnARowOpensItOnce) {
  struct Case {
    const char* what;
    std::function<void(QWidget*, QPoint)> act;
    RecordingKind kind;
    int messages;  // message boxes the opening shows
  };
  const std::vector<Case> cases = {
      {"click", Click, RecordingKind::Normal, 0},
      {"double click", DoubleClick, RecordingKind::Normal, 0},
      // The engine's message with its cause, then the window's own: two, one after the other.
      {"click on a damaged recording", Click, RecordingKind::DamagedMovie, 2},
      {"double click on a damaged recording", DoubleClick, RecordingKind::DamagedMovie, 2},
  };
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("rows").string());
  QTableView* list = window->listView();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gui::ClearRecordedMessages();
    const int before = window->opensStarted();
    c.act(list->viewport(), RowCentre(list, RowOf(c.kind)));
    Pump(std::chrono::milliseconds(300));
    EXPECT_EQ(window->opensStarted() - before, 1);
    EXPECT_EQ(window->recordingList().currentRow(), RowOf(c.kind));
    EXPECT_EQ(gui::RecordedMessages().size(), c.messages) << gui::RecordedMessages().join("; ").toStdString();
    window->OnCommand(commands::kStop);
  }
  // A click beside the rows opens nothing.
  const int before = window->opensStarted();
  Click(list->viewport(), QPoint(5, list->viewport()->height() - 2));
  Pump(std::chrono::milliseconds(100));
  EXPECT_EQ(window->opensStarted(), before);
}

TEST(RealInput, TheWindowAnswersWhileARowOpens) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("answers").string());
  QTableView* list = window->listView();
  const QPoint row = RowCentre(list, RowOf(RecordingKind::Normal));

  // A timer started with the click fires before the rear channel is built: the window does not
  // wait for the whole open in one go.
  bool fired = false;
  bool rearBuiltWhenFired = true;
  Click(list->viewport(), row);
  QTimer::singleShot(0, window.get(), [&] {
    fired = true;
    rearBuiltWhenFired = window->VideoWindow(1)->video().state != playback::EngineState::kNoGraph;
  });
  ASSERT_TRUE(WaitFor([&] { return Playing(*window); }));
  EXPECT_TRUE(fired);
  EXPECT_FALSE(rearBuiltWhenFired);
  EXPECT_FALSE(window->openInProgress());
  EXPECT_EQ(window->VideoWindow(1)->video().state, playback::EngineState::kRunning);

  // Stop pressed between the two halves of an open: nothing is left to build or play.
  window->OnCommand(commands::kStop);
  Click(list->viewport(), row);
  QTimer::singleShot(0, window.get(), [&] { window->OnCommand(commands::kStop); });
  Pump(std::chrono::milliseconds(300));
  EXPECT_EQ(window->playState(), app::kStopped);
  EXPECT_EQ(window->VideoWindow(1)->video().state, playback::EngineState::kNoGraph);
  EXPECT_FALSE(window->openInProgress());
}

TEST(RealInput, TransportButtonsDoWhatTheirCommandsDo) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("buttons").string());
  const int first = RowOf(RecordingKind::Normal);
  window->ClickRow(first);
  ASSERT_TRUE(WaitFor([&] { return Playing(*window); }));
  const int rows = window->recordingList().recordingCount();
  const auto shown = [&] { return window->VideoWindow(0)->PaintedPosition(); };
  std::int64_t before = 0;  // the picture shown when the button was clicked
  struct Case {
    int button;
    std::function<bool()> done;
  };
  const std::vector<Case> cases = {
      {commands::kPause, [&] { return window->playState() == app::kPaused; }},
      {commands::kStepForward, [&] { return window->playState() == app::kPaused && shown() > before; }},
      {commands::kStepBack, [&] { return window->playState() == app::kPaused && shown() < before; }},
      {commands::kPlay, [&] { return window->playState() == app::kPlaying; }},
      {commands::kNext, [&] { return window->recordingList().currentRow() == (first + 1) % rows; }},
      {commands::kPrevious, [&] { return window->recordingList().currentRow() == first; }},
      {commands::kStop, [&] { return window->playState() == app::kStopped; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    Pump(std::chrono::milliseconds(200));  // the last picture of the previous step is on screen
    before = shown();
    QTest::mouseClick(window->Button(c.button), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return c.done(); }, std::chrono::seconds(10)));
  }
}

// A click on each slider's bar, then press on its thumb, drag and release: the real events land
// where the automation path lands.
TEST(RealInput, SlidersFollowPressDragAndReleaseLikeTheAutomationPath) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("slide").string());
  window->ClickRow(RowOf(RecordingKind::Normal));
  ASSERT_TRUE(WaitFor([&] { return Playing(*window); }));
  window->OnCommand(commands::kPause);
  app::PlaybackControl& transport = window->transport();
  struct Case {
    const char* what;
    QPoint click;
    int thumbLeft;  // the bar's first column: the thumb's left edge is this plus the value
    int dragTo;
    std::function<int()> value;
  };
  const std::vector<Case> cases = {
      {"position", QPoint(370, 690), 70, 200, [&] { return transport.positionOffset(); }},
      {"rate", QPoint(620, 640), 488, 560, [&] { return transport.ratePosition(); }},
      {"volume", QPoint(520, 660), 488, 600, [&] { return transport.volumePosition(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, c.click);
    const int clicked = c.value();
    const QPoint thumb(c.thumbLeft + clicked + 2, c.click.y());
    const QPoint to(c.dragTo, c.click.y());
    QTest::mousePress(window.get(), Qt::LeftButton, {}, thumb);
    QTest::mouseMove(window.get(), to);
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, to);
    const int real = c.value();
    EXPECT_NE(real, clicked) << "the drag moved nothing";

    // The same gestures through the automation path.
    ASSERT_TRUE(transport.OnPress(c.click.x(), c.click.y()));
    transport.OnRelease();
    EXPECT_EQ(c.value(), clicked);
    ASSERT_TRUE(transport.OnPress(thumb.x(), thumb.y()));
    transport.OnDrag(to.x());
    transport.OnRelease();
    EXPECT_EQ(c.value(), real);
    window->OnCommand(commands::kPause);
  }
}

// Enter anywhere in the window and a double click on the title band toggle full screen;
// Escape closes the window.
TEST(RealInput, KeysAndTheTitleBandToggleFullScreen) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("keys").string());
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const std::vector<Case> cases = {
      {"Enter on the list", [&] { QTest::keyClick(window->listView(), Qt::Key_Return); }},
      {"keypad Enter on a button", [&] { QTest::keyClick(window->Button(commands::kStop), Qt::Key_Enter); }},
      {"double click on the title band", [&] { DoubleClick(window.get(), QPoint(500, 20)); }},
  };
  const QRect normal = window->geometry();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.act();
    EXPECT_TRUE(window->fullScreen());
    c.act();
    EXPECT_FALSE(window->fullScreen());
    EXPECT_EQ(window->geometry(), normal) << "a double click is no drag";
  }
  QTest::keyClick(window->listView(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

// The borderless window moves by its title band, and full screen gives the moved place back.
TEST(RealInput, DragOfTheTitleBandMovesTheWindow) {
  auto window = MakeWindow(setup::kDualProfile);
  const QPoint start = window->pos();
  const QPoint press(500, 20);
  const QPoint by(-60, 35);
  QTest::mousePress(window.get(), Qt::LeftButton, {}, press);
  QTest::mouseMove(window.get(), press + by);
  QTest::mouseRelease(window.get(), Qt::LeftButton, {}, press);  // the window moved with the mouse
  EXPECT_EQ(window->pos(), start + by);
  // The release ended the drag: a later move of the mouse leaves the window where it is.
  QTest::mouseMove(window.get(), QPoint(300, 30));
  EXPECT_EQ(window->pos(), start + by);

  window->OnCommand(commands::kFullScreen);
  window->OnCommand(commands::kFullScreen);
  EXPECT_EQ(window->pos(), start + by);
}

}  // namespace
