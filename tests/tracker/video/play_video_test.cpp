// "Play video" in the real window: a replay point of the GPS logs of a card opens the manager
// command line on the recording of that moment, at that second; a point without a recording
// says so and names the nearest one.
#include <gtest/gtest.h>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QWebEngineView>

#include <filesystem>

#include "common/gui/message_box.h"
#include "tests/manager/timeline/fake_recording.h"
#include "tests/support/temp_dir.h"
#include "tests/tracker/log/three_day_log.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/video/video_action.h"
#include "tracker/app/video/video_launcher.h"
#include "tracker/app/video/video_rules.h"
#include "tracker/app/window/qt_settings_store.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/tracker_window.h"
#include "tracker/map/browser_host.h"
#include "tracker/map/replay_driver.h"

namespace {

using tracker::TrackerWindow;
namespace fs = std::filesystem;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

constexpr std::int64_t kTen = 1357034400;  // 2013-01-01 10:00:00 UTC: drive A starts

void Wait(int ms) {
  QElapsedTimer clock;
  clock.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  } while (clock.elapsed() < ms);
}

template <class Condition>
bool WaitFor(Condition condition, int ms = 15000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition() && clock.elapsed() < ms) Wait(5);
  return condition();
}

struct FakeLauncher : tracker::VideoLauncher {
  bool Launch(const QString& program, const QStringList& arguments) override {
    launched.append(QStringList{program} + arguments);
    return true;
  }
  QList<QStringList> launched;
};

class PlayVideo : public testing::Test {
 protected:
  void SetUp() override {
    gui::SetMessageRecording(true);
    gui::ClearRecordedMessages();
    fs::create_directories(card_ / "GPSLOG");
    tracker_test::WriteThreeDayLog(card_ / "GPSLOG");
    testing_support::WriteFile(card_ / "SETUP/Setup.ini", "TimeZone        = 71 ;\r\nDST        = 0 ;\r\n");
    // Seoul's clock: 19:00:00 is 10:00:00 UTC. A continuous minute with its rear channel, and
    // an event recording of ten seconds inside it.
    testing_support::WriteFile(card_ / "CONTINUOUS/drf_20130101_190000.mp4", testing_support::FakeRecording(60, {}));
    testing_support::WriteFile(card_ / "CONTINUOUS/drr_20130101_190000.mp4", testing_support::FakeRecording(60, {}));
    testing_support::WriteFile(card_ / "EVENT/drf_20130101_190020.mp4", testing_support::FakeRecording(10, {}));

    window_ = std::make_unique<TrackerWindow>(tracker::kCurrentProfile, store_, tracker::LayoutKind::kSmall);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    window_->video()->SetLauncher(&launcher_);
    ASSERT_EQ(window_->OpenPath(Q(card_ / "GPSLOG")), TrackerWindow::OpenStart::kStarted);
    ASSERT_TRUE(WaitFor([&] { return !window_->Busy(); }));
  }
  void TearDown() override {
    window_.reset();
    gui::SetMessageRecording(false);
  }

  // The list row of the drive whose first fix is at `moment`.
  int DriveRow(std::int64_t moment) {
    const auto& document = window_->document();
    for (int list_row = 0; list_row < window_->model()->rowCount(); ++list_row) {
      const int row = window_->model()->RowIndexAt(list_row);
      if (row >= 0 && document.trips.rows[static_cast<std::size_t>(row)].type == tracker::RowType::kDrive &&
          tracker::RowPointMoment(document, row, 0) == moment) {
        return list_row;
      }
    }
    return -1;
  }

  QTableView& List() { return *window_->findChild<QTableView*>("RowList"); }

  testing_support::TempDir card_;
  testing_support::TempDir home_;
  tracker::QtSettingsStore store_{Q(home_ / "Tracker.conf")};
  FakeLauncher launcher_;
  std::unique_ptr<TrackerWindow> window_;
};

TEST_F(PlayVideo, TheShortcutOnAReplayPointLaunchesTheManagerOnThatRecordingAtThatSecond) {
  EXPECT_EQ(window_->video()->card(), Q(card_.path()));
  const int drive = DriveRow(kTen);
  ASSERT_GE(drive, 0);
  window_->SelectRow(drive);
  ASSERT_TRUE(WaitFor([&] { return !window_->Busy() && window_->map()->Settled(); }));

  // Replay points inside the event recording, and after it inside the continuous one only.
  int shown = -1;
  QObject::connect(window_->replay(), &tracker::ReplayDriver::PointShown, [&](int offset) { shown = offset; });
  for (const int slider : {60, 90}) {
    SCOPED_TRACE(slider);
    shown = -1;
    window_->replay()->ReleaseSlider(slider);
    ASSERT_TRUE(WaitFor([&] { return shown >= 0 && window_->map()->Settled(); }));
    const std::int64_t second =
        *tracker::RowPointMoment(window_->document(), window_->model()->RowIndexAt(drive), shown) - kTen;
    const bool event = second >= 20 && second < 30;
    launcher_.launched.clear();

    QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);

    ASSERT_EQ(launcher_.launched.size(), 1) << gui::RecordedMessages().join("\n").toStdString();
    const QString file = Q(card_ / (event ? "EVENT/drf_20130101_190020.mp4" : "CONTINUOUS/drf_20130101_190000.mp4"));
    EXPECT_EQ(launcher_.launched.front(), (QStringList{"kel2ch-manager", Q(card_.path()), "--file", file, "--at",
                                                       QString::number(event ? second - 20 : second)}));
    const QJsonObject video = window_->State()["video"].toObject();
    EXPECT_EQ(video["match"].toObject()["path"].toString(), file);
    EXPECT_EQ(video["recordings"].toInt(), 2);
  }
}

TEST_F(PlayVideo, ADriveRowWithoutARecordingNamesTheNearestOne) {
  const int drive = DriveRow(kTen + 2 * 86400 - 2 * 3600);  // F: 2013-01-03 08:00:00 UTC
  ASSERT_GE(drive, 0);
  const QRect cell = List().visualRect(window_->model()->index(drive, 0));
  // What a right click on the row makes of it.
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, cell.center(), List().viewport()->mapToGlobal(cell.center()));
  QApplication::sendEvent(List().viewport(), &rightClick);
  QMenu* menu = window_->video()->lastMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
  QAction* play = menu->actions().front();
  EXPECT_EQ(play->text(), window_->video()->playAction()->text());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(play).center());

  EXPECT_TRUE(launcher_.launched.isEmpty());
  ASSERT_FALSE(gui::RecordedMessages().isEmpty());
  // Times as the window shows them, in Seoul.
  const QString message = gui::RecordedMessages().back();
  EXPECT_TRUE(message.contains("2013-01-03 17:00:00")) << message.toStdString();
  EXPECT_TRUE(message.contains("2013-01-01 19:00:00")) << message.toStdString();
}

// The map's own menu gives way to ours: a right click on the map plays the replay point.
TEST_F(PlayVideo, TheMapsContextMenuPlaysTheReplayPoint) {
  window_->SelectRow(DriveRow(kTen));
  ASSERT_TRUE(WaitFor([&] { return !window_->Busy() && window_->map()->Settled(); }));
  auto* view = window_->map()->findChild<QWebEngineView*>();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(WaitFor([&] { return view->focusProxy() != nullptr; }));
  const QPoint at = view->rect().center();
  QTest::mousePress(view->focusProxy(), Qt::RightButton, {}, at);
  QTest::mouseRelease(view->focusProxy(), Qt::RightButton, {}, at);
  ASSERT_TRUE(WaitFor([&] { return window_->video()->lastMenu() != nullptr; }, 5000));
  QMenu* menu = window_->video()->lastMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().front()).center());
  ASSERT_EQ(launcher_.launched.size(), 1) << gui::RecordedMessages().join("\n").toStdString();
  EXPECT_EQ(launcher_.launched.front().mid(3, 2),
            (QStringList{Q(card_ / "CONTINUOUS/drf_20130101_190000.mp4"), "--at"}));
}

// Logs kept away from the card: the card folder chosen once, remembered in the settings.
TEST_F(PlayVideo, LogsOffTheCardUseTheCardChosenOnce) {
  window_->video()->SetCard(Q(card_.path()), /*remember=*/true);
  EXPECT_EQ(store_.ReadString(tracker::kVideoCardKey), card_.path().string());
  window_.reset();

  testing_support::TempDir copy;
  fs::copy(card_ / "GPSLOG", copy / "logs");
  window_ = std::make_unique<TrackerWindow>(tracker::kCurrentProfile, store_, tracker::LayoutKind::kSmall);
  window_->show();
  QApplication::setActiveWindow(window_.get());
  window_->video()->SetLauncher(&launcher_);
  ASSERT_EQ(window_->OpenPath(Q(copy / "logs")), TrackerWindow::OpenStart::kStarted);
  ASSERT_TRUE(WaitFor([&] { return !window_->Busy(); }));
  window_->SelectRow(DriveRow(kTen));
  ASSERT_TRUE(WaitFor([&] { return !window_->Busy() && window_->map()->Settled(); }));

  QTest::keyClick(window_.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(launcher_.launched.size(), 1) << gui::RecordedMessages().join("\n").toStdString();
  EXPECT_EQ(launcher_.launched.front().mid(0, 5),
            (QStringList{"kel2ch-manager", Q(card_.path()), "--file", Q(card_ / "CONTINUOUS/drf_20130101_190000.mp4"),
                         "--at"}));
}

}  // namespace
