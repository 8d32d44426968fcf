// The tracker's main window, headless: what the list and panel show for a scanned folder, the
// settings it starts with and keeps, languages and time zones, saving and opening, and what
// it refuses while a scan runs.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <QToolTip>

#include <memory>
#include <string>

#include "common/gui/message_box.h"
#include "tests/support/temp_dir.h"
#include "tests/tracker/log/three_day_log.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/rules/panel_layout.h"
#include "tracker/app/rules/row_display.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/app/window/progress_window.h"
#include "tracker/app/window/qt_settings_store.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/tracker_window.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/field_text.h"
#include "tracker/log/gps_log_writer.h"
#include "tracker/log/trip_database.h"
#include "tracker/map/browser_host.h"

namespace {

using tracker::TrackerWindow;

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

QStringList Texts(const QJsonArray& array) {
  QStringList texts;
  for (const QJsonValue& value : array) texts.append(value.toString());
  return texts;
}

// Runs the event loop for about `ms` milliseconds.
void Wait(int ms) {
  QElapsedTimer clock;
  clock.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  } while (clock.elapsed() < ms);
}

void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(widget, &release);
}

// Types `text` one character at a time as key presses carrying it, as a keyboard or an input
// method hands characters over (QTest::keyClicks takes Latin-1 only).
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// Waits until the window has taken the running job's result and shown what follows from it.
void WaitUntilSettled(TrackerWindow& window) {
  for (int i = 0; i < 2000 && window.Busy(); ++i) Wait(5);
  ASSERT_FALSE(window.Busy()) << "the scan did not finish";
  QApplication::processEvents();
}

// Waits until the map page has loaded and taken every call made so far; its state then.
QJsonObject SettledMap(TrackerWindow& window) {
  for (int i = 0; i < 3000 && !(window.map()->State()["loaded"].toBool() && window.map()->Settled()); ++i) Wait(5);
  EXPECT_TRUE(window.map()->Settled()) << "the map did not settle";
  return window.map()->State();
}

class TrackerWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    gui::SetMessageRecording(true);
    gui::ClearRecordedMessages();
    logs_ = dir_ / "GPSLOG";
    std::filesystem::create_directories(logs_);
    tracker_test::WriteThreeDayLog(logs_);
  }
  void TearDown() override { gui::SetMessageRecording(false); }

  std::unique_ptr<TrackerWindow> MakeWindow(const tracker::TrackerProfile& profile = tracker::kCurrentProfile,
                                            tracker::LayoutKind layout = tracker::LayoutKind::kSmall) {
    auto window = std::make_unique<TrackerWindow>(profile, store_, layout);
    window->show();
    return window;
  }

  // Opens `path` and waits for the rows.
  void Open(TrackerWindow& window, const std::filesystem::path& path) {
    ASSERT_EQ(window.OpenPath(Q(path)), TrackerWindow::OpenStart::kStarted);
    WaitUntilSettled(window);
  }

  testing_support::TempDir dir_;
  std::filesystem::path logs_;
  tracker::QtSettingsStore store_{Q(dir_ / "Tracker.conf")};
};

TEST_F(TrackerWindowTest, TheListShowsTheCoresRowsWithTheirKindsColoursAndTimes) {
  auto window = MakeWindow();
  window->SelectTimeZone(30);  // GMT: the times read as the logs hold them
  window->SelectLanguage(0);
  Open(*window, logs_);

  tracker::TrackDocument core;
  tracker::CallbackScanHost host;
  ASSERT_EQ(tracker::Open(logs_, {0, 0}, tracker::kCurrentProfile.database_magic, core, host),
            tracker::OpenResult::kRowsReady);
  const QJsonObject state = window->State();
  const QJsonArray rows = state["rows"].toArray();
  ASSERT_EQ(rows.size(), static_cast<qsizetype>(core.trips.order.size()));
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const tracker::TripRecord& row =
        core.trips.rows[static_cast<std::size_t>(core.trips.order[static_cast<std::size_t>(i)])];
    const QJsonObject item = rows[i].toObject();
    const QString date = QString::fromStdString(std::string(tracker::FieldText(row.start_date)));
    const QStringList text = Texts(item["text"].toArray());
    switch (row.type) {
      case tracker::RowType::kDay:
        EXPECT_EQ(item["kind"].toString(), "day");
        EXPECT_EQ(item["color"].toString(), "#282828");
        EXPECT_TRUE(item["bold"].toBool());
        EXPECT_EQ(text[0], date);
        break;
      case tracker::RowType::kDrive:
        EXPECT_EQ(item["kind"].toString(), "drive");
        EXPECT_EQ(item["color"].toString(), "#50a02d");
        EXPECT_FALSE(item["bold"].toBool());
        EXPECT_EQ(text[0], " - " + date);
        break;
      case tracker::RowType::kParking:
        EXPECT_EQ(item["kind"].toString(), "parking");
        EXPECT_EQ(item["color"].toString(), "#fa8700");
        EXPECT_EQ(text[0], " - " + date);
        break;
    }
    EXPECT_TRUE(item["checked"].toBool());
    const tracker::TrackPoint& first = core.points[static_cast<std::size_t>(row.first_point)];
    const tracker::TrackPoint& last = core.points[static_cast<std::size_t>(row.first_point + row.point_count - 1)];
    const auto clock = [](const tracker::TrackPoint& p) {
      const QString t = QString::fromLatin1(tracker::FieldText(p.time).data(), 6);
      return t.left(2) + ':' + t.mid(2, 2) + ':' + t.mid(4, 2);
    };
    EXPECT_EQ(text[1], clock(first)) << i;
    EXPECT_EQ(text[2], clock(last)) << i;
  }
  // The first row is selected and shown: on the map, in the panel, and in the edit boxes.
  EXPECT_EQ(state["selectedRow"].toInt(), 0);
  const tracker::RowDisplay shown =
      tracker::DisplayValues(core.trips.rows[static_cast<std::size_t>(core.trips.order[0])]);
  EXPECT_EQ(state["panel"].toObject()["distanceKm"].toString(), QString::fromStdString(shown.distance_km));
  EXPECT_EQ(state["panel"].toObject()["stopTime"].toString(), QString::fromStdString(shown.parking_duration));
  const QJsonObject map = SettledMap(*window);
  EXPECT_EQ(map["lastCall"].toObject()["trigger"].toString(), "map_pointmove");
  EXPECT_GT(map["pageState"].toObject()["routePoints"].toInt(), 1);
  EXPECT_TRUE(state["controlsEnabled"].toBool());
  EXPECT_EQ(state["lastOpenedPath"].toString(), Q(logs_));
}

TEST_F(TrackerWindowTest, AnEmptySettingsStoreStartsInKoreanAndSeoulAndWritesBoth) {
  auto window = MakeWindow();
  const QJsonObject state = window->State();
  EXPECT_EQ(state["language"].toInt(), 1);
  EXPECT_EQ(state["timeZone"].toInt(), 71);
  EXPECT_FALSE(state["dst"].toBool());
  EXPECT_EQ(Texts(state["columns"].toArray()), (QStringList{"일시", "시작", "종료"}));
  window.reset();
  QSettings written(Q(dir_ / "Tracker.conf"), QSettings::IniFormat);
  EXPECT_EQ(written.value("LANG").toString(), "eLANG_KOR");
  EXPECT_EQ(written.value("GMT").toInt(), 71);
  EXPECT_FALSE(written.contains("OPENPATH"));
}

TEST_F(TrackerWindowTest, StoredSettingsAreTakenAndAZoneBeyondTheTableFallsBackToSeoul) {
  store_.WriteString("LANG", "eLANG_RUS");
  store_.WriteNumber("GMT", 84);
  auto window = MakeWindow();
  EXPECT_EQ(window->State()["language"].toInt(), 4);
  EXPECT_EQ(window->State()["timeZone"].toInt(), 71);
  EXPECT_EQ(window->State()["settings"].toObject()["GMT"].toInt(), 71);

  store_.WriteString("LANG", "eLANG_JPN");
  store_.WriteNumber("GMT", 60);
  window = MakeWindow();
  EXPECT_EQ(window->State()["language"].toInt(), 3);
  EXPECT_EQ(window->State()["timeZone"].toInt(), 60);
}

TEST_F(TrackerWindowTest, ALanguageSwitchRelabelsColumnsDaylightSavingAndPanel) {
  auto window = MakeWindow();
  Open(*window, logs_);
  window->SelectLanguage(0);
  QJsonObject state = window->State();
  EXPECT_EQ(Texts(state["columns"].toArray()), (QStringList{"Date", "Start", "End"}));
  EXPECT_EQ(state["dstText"].toString(), "DST(Daylight Saving Time)");
  QStringList labels = Texts(state["panel"].toObject()["labels"].toArray());
  ASSERT_EQ(labels.size(), 18);
  EXPECT_EQ(labels.first(), "Driving Information");
  EXPECT_EQ(labels.last(), "Memo");
  EXPECT_EQ(window->model()->data(window->model()->index(0, 0), Qt::ToolTipRole).toString().left(10), "One Day : ");
  // A panel label carries its whole text as a tooltip, however short its rectangle.
  window->SelectLanguage(9);
  const tracker::Rect label = tracker::PanelItems(window->layout().kind)[9].rect;  // Stopped Duration
  QHelpEvent help(QEvent::ToolTip, QPoint(label.x + 2, label.y + 2),
                  window->mapToGlobal(QPoint(label.x + 2, label.y + 2)));
  QApplication::sendEvent(window.get(), &help);
  EXPECT_EQ(QToolTip::text(), "Duração total da parada");
  window->SelectLanguage(0);

  window->SelectLanguage(4);
  state = window->State();
  EXPECT_EQ(Texts(state["columns"].toArray()), (QStringList{"ДАТА", "НАЧАЛО", "КОНЕЦ"}));
  labels = Texts(state["panel"].toObject()["labels"].toArray());
  EXPECT_EQ(labels[1], "Общая дистанция");
  EXPECT_EQ(labels[2], "км");
  EXPECT_EQ(state["settings"].toObject()["LANG"].toString(), "eLANG_RUS");
  EXPECT_EQ(SettledMap(*window)["pageState"].toObject()["language"].toInt(), 4);
  // The figures themselves do not change with the language.
  EXPECT_FALSE(state["panel"].toObject()["distanceKm"].toString().isEmpty());

  // Taiwan: Traditional Chinese in this build, English in the older one.
  window->SelectLanguage(11);
  EXPECT_EQ(Texts(window->State()["columns"].toArray()), (QStringList{"日期", "開始", "结束"}));
  auto older = MakeWindow(tracker::kOlderProfile);
  older->SelectLanguage(11);
  EXPECT_EQ(Texts(older->State()["columns"].toArray()), (QStringList{"Date", "Start", "End"}));
  older->SelectLanguage(2);
  EXPECT_EQ(Texts(older->State()["panel"].toObject()["labels"].toArray())[15], "驾驶员");
}

TEST_F(TrackerWindowTest, KathmanduWithDaylightSavingShowsTimesSixHoursFortyFiveMinutesOn) {
  auto window = MakeWindow();
  window->SelectTimeZone(30);
  Open(*window, logs_);
  // The first drive starts at 10:00:00 UTC.
  EXPECT_EQ(Texts(window->State()["rows"].toArray()[1].toObject()["text"].toArray())[1], "10:00:00");

  window->SelectTimeZone(60);  // GMT +05:45) Kathmandu: the rows are cut again
  WaitUntilSettled(*window);
  QJsonArray rows = window->State()["rows"].toArray();
  EXPECT_EQ(Texts(rows[1].toObject()["text"].toArray())[1], "15:45:00");
  EXPECT_EQ(window->State()["settings"].toObject()["GMT"].toInt(), 60);

  window->SetDaylightSaving(true);
  WaitUntilSettled(*window);
  rows = window->State()["rows"].toArray();
  EXPECT_EQ(Texts(rows[1].toObject()["text"].toArray())[1], "16:45:00");
  EXPECT_TRUE(window->State()["dst"].toBool());
  // The box is not stored.
  EXPECT_FALSE(window->State()["settings"].toObject().contains("DST"));
}

TEST_F(TrackerWindowTest, TextsTypedForARowAreKeptCutToTheirFieldsSavedAndOpenedAgain) {
  auto window = MakeWindow();
  Open(*window, logs_);
  window->SelectRow(1);
  WaitUntilSettled(*window);
  auto* driver = window->findChild<QLineEdit*>("Driver");
  auto* comments = window->findChild<QPlainTextEdit*>("Comments");
  ASSERT_TRUE(driver && comments);
  QTest::keyClicks(driver, QString(40, 'D'));  // the field stores 31 bytes
  QTest::keyClicks(comments, "first line");
  QTest::keyClick(comments, Qt::Key_Return);
  QTest::keyClicks(comments, "second line");
  const tracker::TripRecord& edited =
      window->document().trips.rows[static_cast<std::size_t>(window->model()->RowIndexAt(1))];
  EXPECT_EQ(tracker::FieldText(edited.driver), std::string(31, 'D'));
  EXPECT_EQ(tracker::FieldText(edited.comments), "first line\nsecond line");
  QTest::keyClick(comments, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(comments, QString(200, 'c'));
  EXPECT_EQ(comments->toPlainText().size(), 127);

  // Ticking the daylight-saving box changes the times shown, not the rows: the texts stay.
  window->SetDaylightSaving(true);
  WaitUntilSettled(*window);
  EXPECT_EQ(window->State()["edits"].toObject()["driver"].toString(), QString(31, 'D'));

  // Another row shows its own (empty) texts; coming back shows the typed ones.
  window->SelectRow(2);
  WaitUntilSettled(*window);
  EXPECT_EQ(driver->text(), "");
  window->SelectRow(1);
  WaitUntilSettled(*window);
  EXPECT_EQ(driver->text(), QString(31, 'D'));

  // Untick one row: a save keeps the ticked rows in list order, and opening it lists them again.
  const QJsonArray before = window->State()["rows"].toArray();
  ASSERT_TRUE(window->model()->setData(window->model()->index(3, 0), Qt::Unchecked, Qt::CheckStateRole));
  const auto saved = dir_ / "trips.KEL";
  ASSERT_TRUE(window->SaveTo(Q(saved)));
  EXPECT_EQ(window->last_opened_path(), Q(saved));

  auto reopened = MakeWindow();
  reopened->SetDaylightSaving(true);
  Open(*reopened, saved);
  const QJsonArray after = reopened->State()["rows"].toArray();
  ASSERT_EQ(after.size(), before.size() - 1);
  for (qsizetype i = 0, j = 0; i < before.size(); ++i) {
    if (i == 3) continue;
    EXPECT_EQ(after[j++].toObject()["text"], before[i].toObject()["text"]) << i;
  }
  // A loaded trip database is listed without a selection.
  EXPECT_EQ(reopened->State()["selectedRow"].toInt(), -1);
  EXPECT_EQ(reopened->State()["panel"].toObject()["distanceKm"].toString(), "");
  reopened->SelectRow(1);
  WaitUntilSettled(*reopened);
  EXPECT_EQ(reopened->State()["edits"].toObject()["driver"].toString(), QString(31, 'D'));
  EXPECT_EQ(reopened->State()["edits"].toObject()["comments"].toString(), QString(127, 'c'));
}

// Korean typed as a user types it fills each field to its last whole character; the notes and
// ticks survive time-zone changes made in the box, a save and opening the file again.
TEST_F(TrackerWindowTest, KoreanNotesFillTheirFieldsAndSurviveZoneChangesASaveAndReopening) {
  auto window = MakeWindow();  // Seoul
  Open(*window, logs_);
  auto* driver = window->findChild<QLineEdit*>("Driver");
  auto* purpose = window->findChild<QLineEdit*>("Purpose");
  auto* comments = window->findChild<QPlainTextEdit*>("Comments");
  auto* zones = window->findChild<QComboBox*>("TimeZone");
  ASSERT_TRUE(driver && purpose && comments && zones);
  const QString hangul = "가나다라마바사아자차카타파하거너더러머버서어저처커터퍼허고노도로모보소오조초코토포호";

  // The first day and the first drive begin at the first fix in every zone.
  struct Typed {
    int list_row;
    QString driver, purpose, comments;
  };
  std::vector<Typed> typed;
  for (const int list_row : {0, 1}) {
    window->SelectRow(list_row);
    WaitUntilSettled(*window);
    const QString text = list_row == 0 ? hangul + hangul : hangul.mid(7) + hangul;
    QTest::mouseClick(driver, Qt::LeftButton);
    Type(driver, text);
    QTest::keyClick(driver, Qt::Key_Tab);
    Type(window->focusWidget(), text);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(window->focusWidget(), comments);
    Type(comments, "메모 " + text);
    // 31 bytes hold 10 Hangul syllables; 127 hold 42, or the memo word, a blank and 40.
    EXPECT_EQ(driver->text(), text.left(10));
    EXPECT_EQ(purpose->text(), text.left(42));
    EXPECT_EQ(comments->toPlainText(), ("메모 " + text).left(43));
    EXPECT_TRUE(driver->property("full").toBool());
    typed.push_back({list_row, driver->text(), purpose->text(), comments->toPlainText()});
  }
  // A row left unticked stays unticked.
  QJsonArray rows = window->State()["rows"].toArray();
  ASSERT_GT(rows.size(), 3);
  ASSERT_TRUE(window->model()->setData(window->model()->index(3, 0), Qt::Unchecked, Qt::CheckStateRole));

  // Another entry with the same offset, then a zone twelve hours back, both in the box.
  zones->setFocus();
  QTest::keyClick(zones, Qt::Key_Up);
  WaitUntilSettled(*window);
  EXPECT_EQ(window->State()["timeZone"].toInt(), 70);
  EXPECT_FALSE(window->model()->Checked(3));
  QTest::keyClick(zones, Qt::Key_Home);
  WaitUntilSettled(*window);
  EXPECT_EQ(window->State()["timeZone"].toInt(), 0);

  const auto notes_of = [](TrackerWindow& w) {
    std::vector<std::array<QString, 3>> notes;
    for (const QJsonValue& row : w.State()["rows"].toArray()) {
      const QJsonObject n = row.toObject()["notes"].toObject();
      notes.push_back({n["driver"].toString(), n["purpose"].toString(), n["comments"].toString()});
    }
    return notes;
  };
  const std::vector<std::array<QString, 3>> notes = notes_of(*window);
  for (const Typed& t : typed) {
    EXPECT_NE(std::find(notes.begin(), notes.end(), std::array<QString, 3>{t.driver, t.purpose, t.comments}),
              notes.end())
        << t.list_row;
  }
  int unticked = 0;
  for (const QJsonValue& row : window->State()["rows"].toArray()) unticked += !row.toObject()["checked"].toBool();
  EXPECT_GE(unticked, 1);

  const auto saved = dir_ / "노트.KEL";
  ASSERT_TRUE(window->SaveTo(Q(saved)));
  auto reopened = MakeWindow();
  Open(*reopened, saved);
  // Before a row is chosen the boxes take nothing, and say why.
  auto* reopened_driver = reopened->findChild<QLineEdit*>("Driver");
  EXPECT_FALSE(reopened_driver->isEnabled());
  EXPECT_FALSE(reopened_driver->placeholderText().isEmpty());
  QTest::keyClicks(reopened_driver, "lost");
  EXPECT_EQ(reopened_driver->text(), "");
  std::vector<std::array<QString, 3>> reopened_notes = notes_of(*reopened);
  for (const Typed& t : typed) {
    EXPECT_NE(std::find(reopened_notes.begin(), reopened_notes.end(),
                        std::array<QString, 3>{t.driver, t.purpose, t.comments}),
              reopened_notes.end())
        << t.list_row;
  }
  EXPECT_EQ(reopened->State()["rows"].toArray().size(), window->State()["rows"].toArray().size() - unticked);
}

// Two days that become one: the notes are joined, and what no longer fits is shown, not lost.
TEST_F(TrackerWindowTest, ANoteThatNoLongerFitsAfterAZoneChangeIsShownToTheUser) {
  auto window = MakeWindow();  // Seoul: D, just before midnight UTC, is a day of its own
  Open(*window, logs_);
  auto* driver = window->findChild<QLineEdit*>("Driver");
  const QString first = "가나다라마바사아자차", second = "하거너더러머버서어저";
  int second_day = -1;
  for (int list_row = 1; list_row < window->model()->rowCount() && second_day < 0; ++list_row) {
    const int row_index = window->model()->RowIndexAt(list_row);
    if (window->document().trips.rows[static_cast<std::size_t>(row_index)].type == tracker::RowType::kDay)
      second_day = list_row;
  }
  ASSERT_GT(second_day, 0);
  for (const auto& [list_row, text] : {std::pair(0, first), std::pair(second_day, second)}) {
    window->SelectRow(list_row);
    WaitUntilSettled(*window);
    QTest::mouseClick(driver, Qt::LeftButton);
    Type(driver, text);
  }
  window->SelectTimeZone(30);  // GMT: D's first fix falls on the first day
  WaitUntilSettled(*window);
  EXPECT_EQ(window->State()["rows"].toArray()[0].toObject()["notes"].toObject()["driver"].toString(), first);
  const QStringList messages = gui::RecordedMessages();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(second)) << messages[0].toStdString();
}

// A note written by an older program in the Korean code page reads as Hangul, and goes back
// into the file byte for byte unless it is edited; an edited one is written in the same page.
TEST_F(TrackerWindowTest, ACodePageNoteIsShownInHangulAndSavedUnchanged) {
  tracker::TrackDocument core;
  tracker::CallbackScanHost host;
  ASSERT_EQ(tracker::Open(logs_, {9, 0}, tracker::kCurrentProfile.database_magic, core, host),
            tracker::OpenResult::kRowsReady);
  const std::string cp949 = "\xbf\xee\xc0\xfc\xc0\xda";  // 운전자
  tracker::SetFieldText(core.trips.rows[0].driver, cp949);
  tracker::SetFieldText(core.trips.rows[0].purpose, cp949);
  const auto old_file = dir_ / "old.KEL";
  ASSERT_TRUE(
      tracker::SaveTripDatabase(old_file, core.trips.rows, core.points, tracker::kCurrentProfile.database_magic));

  auto window = MakeWindow();
  Open(*window, old_file);
  int list_row = 0;
  while (window->model()->RowIndexAt(list_row) != 0) ++list_row;
  window->SelectRow(list_row);
  WaitUntilSettled(*window);
  EXPECT_EQ(window->findChild<QLineEdit*>("Driver")->text(), "운전자");
  auto* purpose = window->findChild<QLineEdit*>("Purpose");
  QTest::mouseClick(purpose, Qt::LeftButton);
  QTest::keyClick(purpose, Qt::Key_End);
  Type(purpose, " 김");
  const auto again = dir_ / "again.KEL";
  ASSERT_TRUE(window->SaveTo(Q(again)));

  tracker::TrackDocument loaded;
  ASSERT_EQ(tracker::Open(again, {9, 0}, tracker::kCurrentProfile.database_magic, loaded, host),
            tracker::OpenResult::kRowsReady);
  EXPECT_EQ(tracker::FieldText(loaded.trips.rows[0].driver), cp949);
  // The edited note stays in its code page, where it has the room it had.
  EXPECT_EQ(tracker::FieldText(loaded.trips.rows[0].purpose), "\xbf\xee\xc0\xfc\xc0\xda \xb1\xe8");
}

// The page loaded again gets the row and the marker where the user last saw it: on the row's
// first point right after the row was chosen, though the replay's index has moved on to the next.
TEST_F(TrackerWindowTest, APageLoadedAgainPutsTheMarkerOnTheChosenRowsFirstPoint) {
  auto window = MakeWindow();
  Open(*window, logs_);
  window->SelectRow(1);
  WaitUntilSettled(*window);
  SettledMap(*window);
  window->map()->LoadPage(1);
  for (int i = 0; i < 400 && window->map()->State()["loaded"].toBool(); ++i) Wait(5);
  WaitUntilSettled(*window);
  const QJsonObject map = SettledMap(*window);
  const tracker::TripRecord& row =
      window->document().trips.rows[static_cast<std::size_t>(window->model()->RowIndexAt(1))];
  const tracker::TrackPoint& first = window->document().points[static_cast<std::size_t>(row.first_point)];
  const QJsonObject last = map["lastCall"].toObject();
  EXPECT_EQ(last["trigger"].toString(), "map_pointmove");
  EXPECT_EQ(last["values"].toObject()["map_latitude"].toString().toStdString(), tracker::FieldText(first.latitude));
}

TEST_F(TrackerWindowTest, ATripDatabaseOfTheOtherBuildIsRefusedAndWhatIsOpenStays) {
  tracker::TrackDocument core;
  tracker::CallbackScanHost host;
  ASSERT_EQ(tracker::Open(logs_, {9, 0}, tracker::kOlderProfile.database_magic, core, host),
            tracker::OpenResult::kRowsReady);
  const auto other = dir_ / "trips.RYN";
  ASSERT_TRUE(tracker::SaveTripDatabase(other, core.trips.rows, core.points, tracker::kOlderProfile.database_magic));

  auto window = MakeWindow();
  Open(*window, logs_);
  const QJsonArray before = window->State()["rows"].toArray();
  ASSERT_FALSE(before.isEmpty());
  Open(*window, other);
  const QJsonObject state = window->State();
  EXPECT_EQ(state["rows"].toArray(), before);
  EXPECT_EQ(state["selectedRow"].toInt(), 0);
  ASSERT_EQ(gui::RecordedMessages().size(), 1);
  EXPECT_TRUE(gui::RecordedMessages().first().contains("Kel Tracker")) << gui::RecordedMessages().first().toStdString();
  EXPECT_EQ(state["lastOpenedPath"].toString(), Q(logs_));

  // The older build opens it.
  auto older = MakeWindow(tracker::kOlderProfile);
  Open(*older, other);
  EXPECT_EQ(older->State()["rows"].toArray().size(), static_cast<qsizetype>(core.trips.rows.size()));
}

TEST_F(TrackerWindowTest, AFolderWithoutFixesShowsTheNoticeInTheCurrentLanguage) {
  auto window = MakeWindow();
  Open(*window, logs_);
  std::filesystem::create_directories(dir_ / "empty");
  testing_support::WriteFile(dir_ / "empty" / "notes.txt", "nothing here");
  Open(*window, dir_ / "empty");
  EXPECT_EQ(gui::RecordedMessages(), QStringList{"로그 파일 포맷이 없습니다!"});
  EXPECT_TRUE(window->State()["rows"].toArray().isEmpty());
  EXPECT_EQ(SettledMap(*window)["pageState"].toObject()["routePoints"].toInt(), 0);

  // A path that does not exist opens nothing and leaves the controls as they were.
  EXPECT_EQ(window->OpenPath(Q(dir_ / "nowhere")), TrackerWindow::OpenStart::kMissing);
  EXPECT_FALSE(window->Busy());
  EXPECT_TRUE(window->State()["controlsEnabled"].toBool());
}

// Enough logs that a scan is still running when the test acts on it; written once.
const std::filesystem::path& ManyLogs() {
  static testing_support::TempDir dir;
  static const std::filesystem::path folder = [] {
    const std::filesystem::path many = dir / "many";
    std::filesystem::create_directories(many);
    for (int file = 0; file < 80; ++file) {
      std::vector<std::string> sentences;
      for (int i = 0; i < 1500; ++i) {
        const int t = file * 1500 + i;
        sentences.push_back(tracker::FormatGprmcSentence({.year = 2014,
                                                          .month = 3,
                                                          .day = 1 + t / 86400,
                                                          .hour = t % 86400 / 3600,
                                                          .minute = t % 3600 / 60,
                                                          .second = t % 60,
                                                          .latitude = 37.0 + t * 1e-5,
                                                          .longitude = 127.0 + t * 1e-5,
                                                          .speed_knots = 20}));
      }
      char name[32];
      std::snprintf(name, sizeof name, "%04d.gps", file);
      tracker::WriteGpsLog(many / name, std::vector<tracker::GpsChunk>{{sentences, 0, 0}});
    }
    return many;
  }();
  return folder;
}

TEST_F(TrackerWindowTest, WhileAScanRunsAnotherOpenOrADropIsRefusedAndTheControlsAreOff) {
  const auto& many = ManyLogs();
  auto window = MakeWindow();
  ASSERT_EQ(window->OpenPath(Q(many)), TrackerWindow::OpenStart::kStarted);
  EXPECT_EQ(window->OpenPath(Q(logs_)), TrackerWindow::OpenStart::kBusy);
  EXPECT_FALSE(window->State()["controlsEnabled"].toBool());
  EXPECT_TRUE(window->progress_window()->isVisible());

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Q(logs_))});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_FALSE(enter.isAccepted());

  WaitUntilSettled(*window);
  EXPECT_FALSE(window->progress_window()->isVisible());
  EXPECT_GT(window->document().points.size(), 100000u);
  EXPECT_EQ(window->last_opened_path(), Q(many));
  // The progress window was told each pass's phase, ending in "done".
  EXPECT_EQ(window->progress_window()->lower(), 100);

  QDragEnterEvent again(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &again);
  EXPECT_TRUE(again.isAccepted());
}

TEST_F(TrackerWindowTest, ClosingDuringAScanStopsTheThreadBeforeTheWindowGoes) {
  const auto& many = ManyLogs();
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto window = MakeWindow();
    ASSERT_EQ(window->OpenPath(Q(many)), TrackerWindow::OpenStart::kStarted);
    Wait(attempt * 20);
    window->close();
    // A fast scan may be over already, its route still being drawn: the scan is what must stop.
    EXPECT_FALSE(window->Scanning());
    window.reset();  // AddressSanitizer watches that nothing touches the freed window
  }
  // Closing while a re-cut reads the window's points.
  auto window = MakeWindow();
  Open(*window, many);
  window->SelectTimeZone(3);
  window.reset();
}

TEST_F(TrackerWindowTest, TabGoesRoundTheThreeTextBoxes) {
  auto window = MakeWindow();
  Open(*window, logs_);  // the boxes take input once a row is selected
  window->activateWindow();
  auto* driver = window->findChild<QLineEdit*>("Driver");
  auto* purpose = window->findChild<QLineEdit*>("Purpose");
  auto* comments = window->findChild<QPlainTextEdit*>("Comments");
  driver->setFocus();
  PressKey(driver, Qt::Key_Tab);
  EXPECT_EQ(window->focusWidget(), purpose);
  PressKey(purpose, Qt::Key_Tab);
  EXPECT_EQ(window->focusWidget(), comments);
  PressKey(comments, Qt::Key_Tab);
  EXPECT_EQ(window->focusWidget(), driver);
  EXPECT_EQ(comments->toPlainText(), "");  // no Tab character was typed
  PressKey(driver, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(window->focusWidget(), comments);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The map is a real web view, offline: no tiles, the plain background.
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  qputenv("BLACKBOX_TILE_URL", "none");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
