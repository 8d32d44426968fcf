#include "tracker/app/window/tracker_options.h"

#include <limits>

#include "tracker/app/rules/command_line.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/tracker_window.h"
#include "tracker/log/time_zone.h"
#include "tracker/map/browser_host.h"
#include "tracker/map/replay_driver.h"

namespace tracker {

namespace {

constexpr int kPollMs = 20;

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A whole number from `low` to `high`, or none.
std::optional<int> IndexOption(const QString& text, int low, int high) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace

gui::ProgramInfo TrackerProgramInfo(const TrackerProfile& profile) {
  return {FromView(profile.title_words), FromView(profile.version),
          "Shows the days, drives and parking stops of a dash camera's GPS logs."};
}

void DescribeTrackerOptions(QCommandLineParser& parser) {
  parser.addPositionalArgument("path", "A folder of GPS logs or a trip database to open, as a drop would.", "[PATH]");
  parser.addOption({"row", "Select list row N (0-based) once the rows are shown.", "N"});
  parser.addOption({"lang", "Select language I (0-11) as the language box would.", "I"});
  parser.addOption(
      {"tz", "Select time zone I (0-83) as the time-zone box would; with a PATH, once its rows are shown.", "I"});
  parser.addOption({"dst", "Tick the daylight-saving box; with a PATH, once its rows are shown."});
  parser.addOption({"play", "Press Play forward or Play reverse once the row is on the map.", "forward|reverse"});
  parser.addOption({"speed", "Choose the speed box's entry by its step: 1, 2, 3, 5 or 10.", "ENTRY"});
  parser.addOption({"steps", "With --play: stop after K steps, then grab.", "K"});
  parser.addOption({"showtime", "Press the Show time button."});
}

bool ParseTrackerOptions(QCommandLineParser& parser, const gui::ProgramInfo& program, const QStringList& arguments,
                         TrackerOptions& options, QStringList& refused, QString& error) {
  gui::DescribeProgram(parser, program, DescribeTrackerOptions);
  if (!parser.parse(arguments)) {
    error = parser.errorText();
    return false;
  }
  options.automation = gui::ReadAutomationOptions(parser);
  if (parser.isSet("lang")) {
    options.language = IndexOption(parser.value("lang"), 0, kLanguageCount - 1);
    if (!options.language) refused << "--lang takes a language from 0 to 11, not " + parser.value("lang");
  }
  if (parser.isSet("tz")) {
    options.time_zone = IndexOption(parser.value("tz"), 0, kTimeZoneCount - 1);
    if (!options.time_zone) refused << "--tz takes a time zone from 0 to 83, not " + parser.value("tz");
  }
  options.daylight_saving = parser.isSet("dst");
  if (parser.isSet("speed")) {
    options.speed_entry = SpeedEntryNamed(parser.value("speed").toStdString());
    if (!options.speed_entry) {
      refused << "--speed takes a step of the speed box (1, 2, 3, 5 or 10), not " + parser.value("speed");
    }
  }
  options.show_time = parser.isSet("showtime");
  if (parser.isSet("play")) {
    options.play = DirectionNamed(parser.value("play").toStdString());
    if (!options.play) refused << "--play takes forward or reverse, not " + parser.value("play");
  }
  if (parser.isSet("steps")) {
    const std::optional<int> steps = IndexOption(parser.value("steps"), 1, std::numeric_limits<int>::max());
    if (!steps) refused << "--steps takes a number of steps from 1 up, not " + parser.value("steps");
    if (!parser.isSet("play")) refused << "--steps goes with --play";
    options.steps = steps.value_or(0);
  }
  if (parser.isSet("row")) {
    options.row = IndexOption(parser.value("row"), 0, std::numeric_limits<int>::max());
    if (!options.row) refused << "--row takes a row number, not " + parser.value("row");
  }
  const QStringList positional = parser.positionalArguments();
  if (!positional.isEmpty()) {
    const std::optional<std::string> path = PathFromArgument(positional.first().toStdString());
    if (path) {
      options.path = QString::fromStdString(*path);
    } else {
      refused << "the path on the command line has an odd number of double quotes; nothing was opened";
    }
  }
  return true;
}

ScriptedRun::ScriptedRun(TrackerWindow& window, TrackerOptions options, gui::Automation& automation, QObject* parent)
    : QObject(parent), window_(window), options_(std::move(options)), automation_(automation) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &ScriptedRun::Poll);
  connect(window_.replay(), &ReplayDriver::StepLimitReached, this, [this] {
    if (stage_ == Stage::kPlaying) stage_ = Stage::kDone;
  });
}

void ScriptedRun::Start() {
  if (options_.language) window_.SelectLanguage(*options_.language);
  if (options_.speed_entry) window_.SetSpeedEntry(*options_.speed_entry);
  if (options_.show_time) window_.SetShowTime(true);
  stage_ = Stage::kRow;
  if (!options_.path.isEmpty()) {
    const TrackerWindow::OpenStart started = window_.OpenPath(options_.path);
    if (started == TrackerWindow::OpenStart::kStarted) stage_ = Stage::kOpening;
    if (started == TrackerWindow::OpenStart::kMissing) automation_.Fail("no such file or folder: " + options_.path);
  } else {
    // Nothing to open: the boxes are changed on the empty window at once.
    ChangeBoxes();
  }
  poll_.start();
  Poll();
}

void ScriptedRun::ChangeBoxes() {
  if (options_.time_zone) window_.SelectTimeZone(*options_.time_zone);
  if (options_.daylight_saving) window_.SetDaylightSaving(true);
}

void ScriptedRun::Poll() {
  switch (stage_) {
    case Stage::kIdle:
    case Stage::kDone: poll_.stop(); return;
    case Stage::kOpening:
      if (window_.Busy()) return;
      stage_ = Stage::kRow;
      [[fallthrough]];
    case Stage::kRow:
      if (options_.row) {
        const int rows = window_.model()->rowCount();
        if (*options_.row >= rows) {
          automation_.Fail(QString("row %1 does not exist (%2 rows)").arg(*options_.row).arg(rows));
        } else {
          window_.SelectRow(*options_.row);
        }
      }
      stage_ = Stage::kBoxes;
      return;
    case Stage::kBoxes:
      if (window_.Busy()) return;
      // The zone and the daylight-saving box change the rows that are shown, as a user who
      // opened the path and then changed the boxes.
      if (!options_.path.isEmpty()) ChangeBoxes();
      stage_ = Stage::kPlay;
      return;
    case Stage::kPlay:
      if (!options_.play) {
        stage_ = Stage::kDone;
        return;
      }
      if (window_.Busy() || !window_.map()->Settled()) return;
      window_.replay()->SetStepLimit(options_.steps);
      window_.PressPlay(*options_.play);
      if (!window_.replay()->playing()) {
        automation_.Fail("--play: there is no row to play");
        stage_ = Stage::kDone;
        return;
      }
      stage_ = options_.steps > 0 ? Stage::kPlaying : Stage::kDone;
      return;
    case Stage::kPlaying: return;
  }
}

bool ScriptedRun::Settled() const {
  if (!Done() || window_.Busy()) return false;
  // Playing on without a step limit, a marker is nearly always on its way to the page.
  return window_.map()->Settled(/*replaying=*/window_.replay()->playing());
}

}  // namespace tracker
