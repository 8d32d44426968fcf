// The main window on a sample card: what a user sees and what each click, key and timer does.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QTableView>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/gui/message_box.h"
#include "manager/app/playback_control.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/rules/graph_mapping.h"
#include "manager/display/skin.h"
#include "manager/display/video_widget.h"
#include "manager/recording/samples.h"
#include "tests/manager/app/window_fixture.h"
#include "tests/manager/playback/playback_fixtures.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace window_testing;
using app::ManagerWindow;
using samplecard::RecordingKind;
namespace commands = display::commands;
namespace controls = app::controls;

QString LabelText(const ManagerWindow& window, int id) { return window.Label(id)->Text(); }

QImage Shown(ManagerWindow& window) { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }

bool Playing(const ManagerWindow& window, int channels) {
  for (int channel = 0; channel < channels; ++channel) {
    if (window.VideoWindow(channel)->PaintedFrames() == 0) return false;
  }
  return window.playState() == app::kPlaying;
}

// Opens `row` and waits until its pictures are on screen.
void Open(ManagerWindow& window, int row, int channels = 2) {
  window.ClickRow(row);
  ASSERT_TRUE(WaitFor([&] { return Playing(window, channels); })) << gui::RecordedMessages().join("; ").toStdString();
}

TEST(MainWindow, StartsCentredWithEveryControlInPlace) {
  auto window = MakeWindow(setup::kDualProfile);
  EXPECT_EQ(window->windowTitle(), "Kel2CH Manager");
  EXPECT_FALSE(window->windowIcon().pixmap(32).isNull()) << "the program's icon";
  EXPECT_EQ(window->geometry(), QRect(-112, 16, 1024, 768));  // the offscreen screen is 800 x 800
  for (const auto& spec : display::kImageButtons) {
    ASSERT_NE(window->Button(spec.id), nullptr) << spec.id;
    EXPECT_EQ(window->Button(spec.id)->geometry(),
              QRect(spec.place.left, spec.place.top, spec.place.Width(), spec.place.Height()))
        << spec.id;
  }
  EXPECT_EQ(window->listView()->geometry(), QRect(675, 98, 328, 144));
  EXPECT_EQ(window->VideoWindow(0)->geometry(), QRect(25, 60, 640, 480));
  EXPECT_EQ(window->VideoWindow(1)->geometry(), QRect(679, 252, 320, 240));
  EXPECT_EQ(window->mapView()->geometry(), QRect(679, 505, 320, 240));
  EXPECT_FALSE(window->mapView()->isVisible());
  EXPECT_EQ(LabelText(*window, controls::kListCaption), "File list");
  EXPECT_EQ(LabelText(*window, controls::kCauseCaption), "Description");
  EXPECT_EQ(LabelText(*window, controls::kVersion), "Ver. 2.2.5.5");
  EXPECT_EQ(window->Label(controls::kFileName)->geometry(), QRect(460, 550, 200, 24));
  EXPECT_EQ(window->Label(controls::kFileName)->Background(), QColor(44, 44, 44));
  EXPECT_FALSE(window->Label(controls::kGpsStatus)->Background());
  EXPECT_EQ(window->timeText(), "00:00:00 / 00:00:00");

  // Nothing open: both video areas and the position bar show the untouched skin.
  const QImage shown = Shown(*window);
  const QImage& clean = window->cleanSkin();
  EXPECT_EQ(shown.copy(25, 60, 640, 480), clean.copy(25, 60, 640, 480));
  EXPECT_EQ(shown.copy(679, 252, 320, 240), clean.copy(679, 252, 320, 240));
  EXPECT_EQ(shown.copy(70, 684, 605, 11), clean.copy(70, 684, 605, 11));
  EXPECT_EQ(shown.copy(20, 5, 78, 45), display::Skin(setup::kDualProfile).Bitmap(display::bitmaps::kLogo));
}

TEST(MainWindow, AFolderListsItsRecordingsAndPlayWaitsForARow) {
  auto window = MakeWindow(setup::kDualProfile);
  const fs::path card = CopyOfCard("list");
  window->LoadFolder(card.string());
  const auto& list = window->recordingList();
  EXPECT_EQ(list.recordingCount(), 6);
  EXPECT_EQ(list.RowText(0, 0), "2024-05-13");
  EXPECT_EQ(list.RowText(0, 1), "15:10:47");  // the camera's clock, Seoul
  EXPECT_EQ(window->listView()->model()->rowCount(), 6);
  EXPECT_EQ(window->listView()->model()->index(2, 2).data().toString(), "SENS");
  for (const fs::path& stub : Card().manifest.stubs) EXPECT_FALSE(fs::exists(card / fs::relative(stub, Card().folder)));
  // The folder is remembered, with its separator.
  std::ifstream remembered("config/blackbox/TempMO.ini", std::ios::binary);
  std::ostringstream read;
  read << remembered.rdbuf();
  const std::string bytes = read.str();
  EXPECT_EQ(bytes.size(), 2 * (card.string().size() + 1));

  window->OnCommand(commands::kPlay);
  Pump(std::chrono::milliseconds(50));
  EXPECT_EQ(window->playState(), app::kStopped);

  // An empty choice changes nothing.
  window->LoadFolder("");
  EXPECT_EQ(window->recordingList().recordingCount(), 6);
}

TEST(MainWindow, ARowPlaysBothChannelsWithItsPanel) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("play").string());
  const int row = RowOf(RecordingKind::Normal);
  Open(*window, row);
  EXPECT_TRUE(window->hasChannel2());
  EXPECT_EQ(window->VideoWindow(0)->video().state, playback::EngineState::kRunning);
  EXPECT_EQ(window->VideoWindow(1)->video().state, playback::EngineState::kRunning);
  EXPECT_TRUE(window->mapView()->isVisible());
  EXPECT_TRUE(LabelText(*window, controls::kFileName).startsWith("File : \r\n      drf_"));
  ASSERT_NE(window->CurrentFrame(0), nullptr);
  EXPECT_EQ(window->CurrentFrame(0)->Size().width, 1280);
  EXPECT_EQ(window->CurrentFrame(1)->Size().width, 640);

  // A panel tick with a fix: status "GPS >>" in red, the values filled.
  ASSERT_TRUE(WaitFor([&] { return LabelText(*window, controls::kGpsStatus) == "GPS >>"; }));
  EXPECT_EQ(window->Label(controls::kGpsStatus)->TextColour(), QColor(255, 0, 0));
  EXPECT_TRUE(LabelText(*window, controls::kLatitude).startsWith("Latitude : 37."));
  EXPECT_TRUE(LabelText(*window, controls::kSpeed).startsWith("km/h : "));
  // The map page follows once it has loaded.
  EXPECT_TRUE(WaitFor([&] { return window->mapView()->State()["lastAnimate"].isArray(); }));

  // The stop empties the panel and releases both channels.
  window->OnCommand(commands::kStop);
  EXPECT_EQ(window->playState(), app::kStopped);
  EXPECT_EQ(window->VideoWindow(0)->video().state, playback::EngineState::kNoGraph);
  EXPECT_EQ(window->VideoWindow(1)->video().state, playback::EngineState::kNoGraph);
  EXPECT_EQ(LabelText(*window, controls::kGpsStatus), "");
  EXPECT_EQ(LabelText(*window, controls::kLatitude), "Latitude : ");
  EXPECT_EQ(LabelText(*window, controls::kSpeedMiles), "m/h : ");
  EXPECT_EQ(LabelText(*window, controls::kFileName), "File : \r\n      ");
  EXPECT_FALSE(window->mapView()->isVisible());
  Pump(std::chrono::milliseconds(50));
  const QImage shown = Shown(*window);
  EXPECT_EQ(shown.copy(25, 60, 640, 480), window->cleanSkin().copy(25, 60, 640, 480));

  // Play reopens the same recording.
  window->OnCommand(commands::kPlay);
  EXPECT_TRUE(WaitFor([&] { return Playing(*window, 2); }));
}

TEST(MainWindow, SlidersAreFilledAndPressesSeekAndSetTheRate) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("sliders").string());
  Open(*window, RowOf(RecordingKind::Normal));
  window->OnCommand(commands::kPause);
  const std::int64_t duration = window->duration();
  ASSERT_GT(duration, 0);

  QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(370, 690));  // offset 300: the middle
  EXPECT_EQ(window->playState(), app::kPlaying);
  window->OnCommand(commands::kPause);
  window->OnTimer(app::kPositionTimerId);
  EXPECT_GE(window->currentPosition(), duration / 2 - 1'000'000);  // from the middle on

  QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(620, 640));  // the rate bar, d = 130
  EXPECT_EQ(window->transport().ratePosition(), 145);
  QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(520, 660));  // the volume bar
  EXPECT_EQ(window->transport().volumePosition(), 30);

  const QImage shown = Shown(*window);
  const int offset = window->transport().positionOffset();
  ASSERT_GE(offset, 300);
  const display::Skin skin(setup::kDualProfile);
  const QImage& positionFill = skin.Bitmap(display::bitmaps::kPositionFill);
  for (const int x : {70, 200, 69 + offset}) EXPECT_EQ(shown.pixel(x, 689), positionFill.pixel(x - 70, 5)) << x;
  EXPECT_EQ(shown.copy(70 + offset, 685, 5, 10), skin.Bitmap(display::bitmaps::kPositionThumb));
  EXPECT_EQ(shown.pixel(80 + offset, 689), window->cleanSkin().pixel(80 + offset, 689));
  const QImage& rateFill = skin.Bitmap(display::bitmaps::kRateFill);
  for (const int x : {488, 600, 632}) EXPECT_EQ(shown.pixel(x, 637), rateFill.pixel(0, 1)) << x;
  EXPECT_EQ(shown.copy(633, 634, 5, 10), skin.Bitmap(display::bitmaps::kRateThumb));
  EXPECT_EQ(shown.copy(518, 655, 5, 10), skin.Bitmap(display::bitmaps::kVolumeThumb));
  EXPECT_EQ(shown.pixel(530, 659), window->cleanSkin().pixel(530, 659));
  // Sound on: the speaker of the skin, not the muted one.
  EXPECT_EQ(shown.copy(466, 654, 15, 12), window->cleanSkin().copy(466, 654, 15, 12));
  EXPECT_EQ(window->StateJson()["channels"].toArray()[0].toObject()["rate"].toDouble(), 4.0);
  EXPECT_EQ(window->StateJson()["channels"].toArray()[0].toObject()["volumePercent"].toInt(), 20);

  window->transport().OnPress(519, 660);  // take the volume thumb to 0
  window->transport().OnDrag(300);
  window->transport().OnRelease();
  EXPECT_EQ(Shown(*window).copy(466, 654, 15, 12), skin.Bitmap(display::bitmaps::kMuted));
}

TEST(MainWindow, TheGraphShowsTheRecordingsTraces) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("graph").string());
  Open(*window, RowOf(RecordingKind::Normal));
  // Played a little: the cursor has left the traces' first points.
  ASSERT_TRUE(WaitFor([&] {
    window->OnTimer(app::kPositionTimerId);
    return window->currentPosition() > 1'000'000;
  }));
  window->OnCommand(commands::kPause);
  window->OnTimer(app::kPositionTimerId);
  const auto& record = window->sensorRecord();
  ASSERT_EQ(record.noData, 0);
  const auto first = display::AxesOf(recording::GSensorSampleAt(record, 0), setup::kDualProfile.gsensor_axes);
  const QImage shown = Shown(*window);
  // Z is drawn last: its first point is white.
  EXPECT_EQ(shown.pixel(70, display::GraphY(first.z)), qRgb(255, 255, 255));
  // Y lies under Z only where both fall on one row.
  if (display::GraphY(first.y) != display::GraphY(first.z)) {
    EXPECT_EQ(shown.pixel(70, display::GraphY(first.y)), qRgb(0, 126, 0));
  }
  // Paused: the readouts of the last playing paint stay; the cursor is grey.
  const int cursor = *display::CursorX(window->currentPosition(), window->duration());
  EXPECT_EQ(shown.pixel(cursor, 660), qRgb(90, 90, 90));
}

TEST(MainWindow, ARecordingWithoutSensorDataPlaysWithAnEmptyPanel) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("nodata").string());
  Open(*window, RowOf(RecordingKind::NoUserData));
  EXPECT_EQ(window->sensorRecord().noData, 1);
  EXPECT_FALSE(window->mapView()->isVisible());
  Pump(std::chrono::milliseconds(600));  // a panel tick and several position ticks
  EXPECT_EQ(LabelText(*window, controls::kGpsStatus), "");
  EXPECT_EQ(LabelText(*window, controls::kLatitude), "Latitude : ");  // as the folder load left it
  const QImage shown = Shown(*window);
  EXPECT_EQ(shown.copy(70, 550, 367, 113), window->cleanSkin().copy(70, 550, 367, 113));
  EXPECT_GT(window->transport().positionOffset(), 0);  // the position bar still moves

  // After a recording with GPS data, its position does not stay on show.
  Open(*window, RowOf(RecordingKind::Normal));
  ASSERT_TRUE(WaitFor([&] { return LabelText(*window, controls::kGpsStatus) == "GPS >>"; }));
  Open(*window, RowOf(RecordingKind::NoUserData));
  Pump(std::chrono::milliseconds(600));
  EXPECT_EQ(LabelText(*window, controls::kGpsStatus), "");
  EXPECT_EQ(LabelText(*window, controls::kLatitude), "Latitude : ");
  const QImage after = Shown(*window);
  EXPECT_EQ(after.copy(80, 663, 270, 21), window->cleanSkin().copy(80, 663, 270, 21));  // above the position bar
}

TEST(MainWindow, OpenFailuresShowTheirMessages) {
  testing_support::TempDir dir;
  // A front recording written moov first (not as the camera does) with a rear file that is no video.
  testing_support::MakeCameraClip(dir / "EVENT" / "drf_20240101_000000.mp4", {}, /*fastStart=*/true);
  testing_support::MakeCameraClip(dir / "EVENT" / "drf_20240101_000100.mp4");
  testing_support::WriteFile(dir / "EVENT" / "drr_20240101_000100.mp4", std::string(4000, 'x'));
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(dir.path().string());
  ASSERT_EQ(window->recordingList().recordingCount(), 2);

  window->ClickRow(0);
  EXPECT_EQ(gui::RecordedMessages(), QStringList{"File \"drf_20240101_000000.mp4\" is broken!"});
  EXPECT_EQ(window->playState(), app::kStopped);
  EXPECT_NE(window->VideoWindow(0)->video().state, playback::EngineState::kNoGraph);  // what was built stays

  gui::ClearRecordedMessages();
  window->ClickRow(1);
  ASSERT_FALSE(gui::RecordedMessages().isEmpty());
  EXPECT_EQ(gui::RecordedMessages().back(), "drr_20240101_000100.mp4 file open error!");
  EXPECT_EQ(window->playState(), app::kStopped);

  // The damaged recording of the sample card: the front itself does not open.
  window->LoadFolder(CopyOfCard("damaged").string());
  gui::ClearRecordedMessages();
  window->ClickRow(RowOf(RecordingKind::DamagedMovie));
  ASSERT_FALSE(gui::RecordedMessages().isEmpty());
  EXPECT_TRUE(gui::RecordedMessages().back().endsWith(" file open error!"));
  EXPECT_TRUE(gui::RecordedMessages().back().startsWith("drf_"));
}

TEST(MainWindow, HostileRecordingsAreRefusedAtOnceWithTheirCause) {
  using playback_testing::Clip;
  testing_support::TempDir dir;
  const auto& files = playback_testing::kHostileFiles;
  for (std::size_t i = 0; i < std::size(files); ++i) {
    fs::create_directories(dir / "EVENT");
    fs::copy_file(playback_testing::ClipPath(files[i].clip),
                  dir / "EVENT" / ("drf_20240101_0000" + std::to_string(10 + i) + ".mp4"));
  }
  // Every build: the one-channel ones open without the structure check.
  for (const setup::Profile* profile : {&setup::kDualProfile, &setup::kParkProfile, &setup::kBrandProfile}) {
    SCOPED_TRACE(profile->name);
    auto window = MakeWindow(*profile);
    window->LoadFolder(dir.path().string());
    ASSERT_EQ(window->recordingList().recordingCount(), static_cast<int>(std::size(files)));
    QTableView* list = window->listView();
    for (std::size_t row = 0; row < std::size(files); ++row) {
      SCOPED_TRACE(files[row].what);
      gui::ClearRecordedMessages();
      const QPoint at = list->visualRect(list->model()->index(static_cast<int>(row), 0)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      // How fast is the benchmark's to tell (bench_playback_window); here only that it ends.
      ASSERT_TRUE(WaitFor([&] { return gui::RecordedMessages().size() == 2; }, std::chrono::seconds(10)))
          << gui::RecordedMessages().join("; ").toStdString();
      // The engine's message with its cause in the same box, then the window's own.
      const QString name = QStringLiteral("drf_20240101_0000%1.mp4").arg(10 + row);
      EXPECT_TRUE(gui::RecordedMessages()[0].endsWith(QStringLiteral("\n") + files[row].cause))
          << gui::RecordedMessages()[0].toStdString();
      EXPECT_EQ(gui::RecordedMessages()[1], name + " file open error!");
      EXPECT_EQ(window->playState(), app::kStopped);
      EXPECT_FALSE(window->openInProgress());
      EXPECT_EQ(window->VideoWindow(0)->video().state, playback::EngineState::kNoGraph);
    }
  }
}

TEST(MainWindow, ARecordingWithoutCompanionLeavesTheRearWindowEmpty) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("companion").string());
  Open(*window, RowOf(RecordingKind::Normal));
  window->ClickRow(RowOf(RecordingKind::NoCompanion));
  ASSERT_TRUE(WaitFor([&] { return window->playState() == app::kPlaying; }));
  EXPECT_FALSE(window->hasChannel2());
  EXPECT_EQ(window->VideoWindow(1)->video().state, playback::EngineState::kNoGraph);
  EXPECT_EQ(window->CurrentFrame(1), nullptr);
}

TEST(MainWindow, TheEndOfTheLastRowStartsTheFirst) {
  testing_support::TempDir dir;
  testing_support::MakeCameraClip(dir / "drf_20240101_000000.mp4");
  testing_support::MakeCameraClip(dir / "drf_20240101_000100.mp4");
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(dir.path().string());
  Open(*window, 1, 1);
  QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(630, 640));  // 4x
  ASSERT_TRUE(WaitFor([&] { return window->recordingList().currentRow() == 0; }));
  EXPECT_TRUE(WaitFor([&] { return window->playState() == app::kPlaying && !window->openInProgress(); }));
  EXPECT_EQ(window->recordingList().currentRecording(), (dir / "drf_20240101_000000.mp4").string());
  EXPECT_EQ(window->listView()->selectionModel()->selectedRows().value(0).row(), 0);
  // The rate the slider shows goes on with the next recording.
  EXPECT_EQ(window->StateJson()["channels"].toArray()[0].toObject()["rate"].toDouble(), 4.0);
}

TEST(MainWindow, NextAndPreviousWrapAround) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("wrap").string());
  window->OnCommand(commands::kPrevious);  // from row 0 to the last
  EXPECT_EQ(window->recordingList().currentRow(), 5);
  window->OnCommand(commands::kNext);
  EXPECT_EQ(window->recordingList().currentRow(), 0);
  window->ClickRow(-1);  // beside the rows
  EXPECT_EQ(window->recordingList().currentRow(), -1);
  window->OnCommand(commands::kNext);
  EXPECT_EQ(window->recordingList().currentRow(), 0);
}

TEST(MainWindow, SwapTwiceRestoresTheChannels) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("swap").string());
  Open(*window, RowOf(RecordingKind::Normal));
  window->OnCommand(commands::kSwap);
  EXPECT_EQ(window->LargeWindowChannel(), 1);
  EXPECT_EQ(window->VideoWindow(1)->geometry(), QRect(25, 60, 640, 480));
  EXPECT_EQ(window->VideoWindow(0)->geometry(), QRect(679, 252, 320, 240));
  EXPECT_EQ(window->VideoWindow(0)->video().videoRect, (playback::VideoRect{0, 0, 320, 240}));
  window->OnCommand(commands::kSwap);
  EXPECT_EQ(window->LargeWindowChannel(), 0);
  EXPECT_EQ(window->VideoWindow(0)->geometry(), QRect(25, 60, 640, 480));
  EXPECT_EQ(window->VideoWindow(1)->geometry(), QRect(679, 252, 320, 240));
}

TEST(MainWindow, EnterTogglesFullScreenWithoutPressingTheFocusedButton) {
  auto window = MakeWindow(setup::kDualProfile);
  display::ImageButton* stop = window->Button(commands::kStop);
  int stops = 0;
  QObject::connect(stop, &QAbstractButton::clicked, [&] { ++stops; });
  stop->setFocus();
  QTest::keyClick(stop, Qt::Key_Return);
  EXPECT_TRUE(window->fullScreen());
  EXPECT_TRUE(window->Button(commands::kFullScreen)->Toggled());
  EXPECT_EQ(stops, 0);
  QTest::keyClick(window->listView(), Qt::Key_Enter);
  EXPECT_FALSE(window->fullScreen());
  EXPECT_EQ(window->geometry(), QRect(-112, 16, 1024, 768));

  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST(MainWindow, FormattingHostStopsAndClearsTheList) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("clear").string());
  Open(*window, RowOf(RecordingKind::Normal));
  window->StopPlaybackAndClearList();
  EXPECT_EQ(window->playState(), app::kStopped);
  EXPECT_EQ(window->recordingList().recordingCount(), 0);
  EXPECT_EQ(window->listView()->model()->rowCount(), 0);
  EXPECT_EQ(window->VideoWindow(0)->video().state, playback::EngineState::kNoGraph);
  window->OnCommand(commands::kPlay);
  EXPECT_EQ(window->playState(), app::kStopped);
}

TEST(MainWindow, OneChannelBuildsHaveNoRearWindowAndNoSwap) {
  auto window = MakeWindow(setup::kParkProfile);
  EXPECT_EQ(window->windowTitle(), "Kel Manager");
  EXPECT_EQ(window->Button(commands::kSwap), nullptr);
  EXPECT_EQ(window->VideoWindow(1), nullptr);
  EXPECT_FALSE(window->OnCommand(commands::kSwap));
  EXPECT_EQ(window->mapView()->geometry(), QRect(679, 325, 320, 422));
  EXPECT_EQ(LabelText(*window, controls::kVersion), "J8 Manager 1.2.1.4");
  window->LoadFolder(CopyOfCard("park").string());
  Open(*window, RowOf(RecordingKind::Normal), 1);
  EXPECT_FALSE(window->hasChannel2());
  EXPECT_EQ(window->StateJson()["channels"].toArray().size(), 1);
}

}  // namespace
