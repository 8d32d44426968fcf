// kel-tracker and lumaro-tracker: the same program, built once per profile.
#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QSplashScreen>
#include <QStyleFactory>
#include <QTimer>

#include "common/gui/automation.h"
#include "common/gui/help_without_display.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/rules/command_line.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/app/window/qt_settings_store.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/skin.h"
#include "tracker/app/window/tracker_window.h"
#include "tracker/log/time_zone.h"
#include "tracker/map/browser_host.h"
#include "tracker/map/replay_driver.h"
#include "tracker/map/replay_rules.h"

namespace {

#ifdef TRACKER_OLDER_PROFILE
const tracker::TrackerProfile& kProfile = tracker::kOlderProfile;
#else
const tracker::TrackerProfile& kProfile = tracker::kCurrentProfile;
#endif

constexpr int kSplashMs = 2000;

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A whole number from `low` to `high`, or none.
std::optional<int> IndexOption(const QString& text, int low, int high) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

// The desktop file (and icon) that stands for this build, so a Wayland desktop shows the window
// under the right entry.
#ifdef TRACKER_OLDER_PROFILE
constexpr char kDesktopFileName[] = "org.blackbox_dashcam.LumaroTracker";
#else
constexpr char kDesktopFileName[] = "org.blackbox_dashcam.KelTracker";
#endif

gui::ProgramInfo Program() {
  return {FromView(kProfile.title_words), FromView(kProfile.version),
          "Shows the days, drives and parking stops of a dash camera's GPS logs."};
}

void DescribeOptions(QCommandLineParser& parser) {
  parser.addPositionalArgument("path", "A folder of GPS logs or a trip database to open, as a drop would.", "[PATH]");
  parser.addOption({"row", "Select list row N (0-based) once the rows are shown.", "N"});
  parser.addOption({"lang", "Select language I (0-11) as the language box would.", "I"});
  parser.addOption({"tz", "Select time zone I (0-83) as the time-zone box would.", "I"});
  parser.addOption({"dst", "Tick the daylight-saving box."});
  parser.addOption({"play", "Press Play forward or Play reverse once the row is on the map.", "forward|reverse"});
  parser.addOption({"speed", "Choose the speed box's entry by its step: 1, 2, 3, 5 or 10.", "ENTRY"});
  parser.addOption({"steps", "With --play: stop after K steps, then grab.", "K"});
  parser.addOption({"showtime", "Press the Show time button."});
}

}  // namespace

int main(int argc, char** argv) {
  const gui::ProgramInfo program = Program();
  if (const auto answered = gui::AnswerHelpOrVersion(argc, argv, program, DescribeOptions)) return *answered;

  // The map is a web view; QtWebEngine wants this before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QApplication::setApplicationName(program.name);
  QApplication::setApplicationVersion(program.version);
  QApplication::setDesktopFileName(kDesktopFileName);
  QApplication::setStyle(QStyleFactory::create("Fusion"));

  QCommandLineParser parser;
  gui::DescribeProgram(parser, program, DescribeOptions);
  parser.process(application);
  const QString row_option = "row", language_option = "lang", zone_option = "tz", dst_option = "dst",
                play_option = "play", speed_option = "speed", steps_option = "steps", showtime_option = "showtime";

  gui::Automation automation(gui::ReadAutomationOptions(parser));
  tracker::QtSettingsStore settings;
  const QRect screen = application.primaryScreen()->geometry();
  tracker::TrackerWindow window(kProfile, settings, tracker::ChooseLayout(screen.width(), screen.height()));
  window.move(screen.center() - window.rect().center());

  if (parser.isSet(language_option)) {
    const auto index = IndexOption(parser.value(language_option), 0, tracker::kLanguageCount - 1);
    if (index) {
      window.SelectLanguage(*index);
    } else {
      automation.Fail("--lang takes a language from 0 to 11, not " + parser.value(language_option));
    }
  }
  if (parser.isSet(zone_option)) {
    const auto index = IndexOption(parser.value(zone_option), 0, tracker::kTimeZoneCount - 1);
    if (index) {
      window.SelectTimeZone(*index);
    } else {
      automation.Fail("--tz takes a time zone from 0 to 83, not " + parser.value(zone_option));
    }
  }
  if (parser.isSet(dst_option)) window.SetDaylightSaving(true);
  if (parser.isSet(speed_option)) {
    const auto entry = tracker::SpeedEntryNamed(parser.value(speed_option).toStdString());
    if (entry) {
      window.SetSpeedEntry(*entry);
    } else {
      automation.Fail("--speed takes a step of the speed box (1, 2, 3, 5 or 10), not " + parser.value(speed_option));
    }
  }
  if (parser.isSet(showtime_option)) window.SetShowTime(true);

  // --play waits until the row is on the map; --steps stops it after K steps.
  enum class Replay { kNone, kWaiting, kPlaying, kDone };
  Replay replay = Replay::kNone;
  tracker::Direction direction = tracker::Direction::kForward;
  int steps = 0;
  if (parser.isSet(play_option)) {
    const auto named = tracker::DirectionNamed(parser.value(play_option).toStdString());
    if (named) {
      direction = *named;
      replay = Replay::kWaiting;
    } else {
      automation.Fail("--play takes forward or reverse, not " + parser.value(play_option));
    }
  }
  if (parser.isSet(steps_option)) {
    const auto k = IndexOption(parser.value(steps_option), 1, std::numeric_limits<int>::max());
    if (!k) automation.Fail("--steps takes a number of steps from 1 up, not " + parser.value(steps_option));
    if (!parser.isSet(play_option)) automation.Fail("--steps goes with --play");
    steps = k.value_or(0);
  }
  QObject::connect(window.replay(), &tracker::ReplayDriver::StepLimitReached, &window, [&] { replay = Replay::kDone; });

  // --row waits for the rows of the opened path.
  std::optional<int> wanted_row;
  if (parser.isSet(row_option)) {
    wanted_row = IndexOption(parser.value(row_option), 0, std::numeric_limits<int>::max());
    if (!wanted_row) automation.Fail("--row takes a row number, not " + parser.value(row_option));
  }
  bool row_done = !wanted_row;
  const auto select_wanted_row = [&] {
    if (row_done) return;
    row_done = true;
    if (*wanted_row >= window.model()->rowCount()) {
      automation.Fail(QString("row %1 does not exist (%2 rows)").arg(*wanted_row).arg(window.model()->rowCount()));
      return;
    }
    window.SelectRow(*wanted_row);
  };
  QObject::connect(&window, &tracker::TrackerWindow::ScanFinished, &window, select_wanted_row);

  bool opening = false;
  const QStringList positional = parser.positionalArguments();
  if (!positional.isEmpty()) {
    const std::optional<std::string> path = tracker::PathFromArgument(positional.first().toStdString());
    if (!path) {
      automation.Fail("the path on the command line has an odd number of double quotes; nothing was opened");
    } else {
      const auto started = window.OpenPath(QString::fromStdString(*path));
      opening = started == tracker::TrackerWindow::OpenStart::kStarted;
      if (started == tracker::TrackerWindow::OpenStart::kMissing) {
        automation.Fail("no such file or folder: " + QString::fromStdString(*path));
      }
    }
  }
  if (!opening) select_wanted_row();

  QTimer play_start;
  play_start.setInterval(20);
  QObject::connect(&play_start, &QTimer::timeout, &window, [&] {
    if (!row_done || window.Busy() || !window.map()->Settled()) return;
    play_start.stop();
    window.replay()->SetStepLimit(steps);
    window.PressPlay(direction);
    if (!window.replay()->playing()) {
      automation.Fail("--play: there is no row to play");
      replay = Replay::kDone;
      return;
    }
    replay = steps > 0 ? Replay::kPlaying : Replay::kDone;
  });
  if (replay == Replay::kWaiting) play_start.start();

  if (automation.active()) {
    window.show();
    automation.FinishWhen(
        &window, [&] { return window.State(); },
        [&] {
          if (!row_done || window.Busy() || replay == Replay::kWaiting || replay == Replay::kPlaying) return false;
          // Playing on without a step limit, a marker is nearly always on its way to the page.
          return window.map()->Settled(/*replaying=*/window.replay()->playing());
        });
    return application.exec();
  }

  // The splash shows for two seconds (the scan of a path given on the command line has
  // started behind it), then the main window comes up.
  QSplashScreen splash(tracker::SplashPicture(FromView(kProfile.title_words), FromView(kProfile.version)),
                       Qt::WindowStaysOnTopHint);
  splash.show();
  QTimer::singleShot(kSplashMs, &window, [&] {
    splash.close();
    window.show();
    window.raise();
    window.activateWindow();
  });
  return application.exec();
}
