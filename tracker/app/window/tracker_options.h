#pragma once

#include <QCommandLineParser>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

#include "common/gui/automation.h"
#include "common/gui/help_without_display.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/map/replay_rules.h"

namespace tracker {

class TrackerWindow;

// The tracker's command line: an optional path to open and the actions a scripted run takes,
// in a user's order: choose the language, speed and Show time; open the path; once its rows are
// shown, select a row; then change the time-zone box and tick daylight saving; then play.
struct TrackerOptions {
  QString path;
  std::optional<int> row;        // 0-based, list order
  std::optional<int> language;   // 0-11
  std::optional<int> time_zone;  // 0-83
  bool daylight_saving = false;
  std::optional<int> speed_entry;
  bool show_time = false;
  std::optional<Direction> play;
  int steps = 0;  // with play: stop after this many steps (0: play on)
  gui::AutomationOptions automation;
};

// The name and version --version prints and the line --help starts with.
gui::ProgramInfo TrackerProgramInfo(const TrackerProfile& profile);
// The tracker's own options and its PATH argument (gui::DescribeProgram adds the shared ones).
void DescribeTrackerOptions(QCommandLineParser& parser);

// Parses `arguments` (program name first). False with `error` set when the line cannot be
// parsed at all. An option whose value is unusable is left out and described in `refused`, one
// line each: the run goes on without it and ends with the failure code.
bool ParseTrackerOptions(QCommandLineParser& parser, const gui::ProgramInfo& program, const QStringList& arguments,
                         TrackerOptions& options, QStringList& refused, QString& error);

// Takes the options' actions on the window one after the other, each once the window has
// settled from the one before, as a user would; reports what does not work to `automation`.
class ScriptedRun : public QObject {
  Q_OBJECT
 public:
  ScriptedRun(TrackerWindow& window, TrackerOptions options, gui::Automation& automation, QObject* parent = nullptr);

  void Start();
  // Every action has been taken (a replay with a step limit has run out).
  bool Done() const { return stage_ == Stage::kDone; }
  // Done, and the window and its map have settled.
  bool Settled() const;

 private:
  enum class Stage { kIdle, kOpening, kRow, kBoxes, kPlay, kPlaying, kDone };
  void Poll();
  void ChangeBoxes();

  TrackerWindow& window_;
  TrackerOptions options_;
  gui::Automation& automation_;
  Stage stage_ = Stage::kIdle;
  QTimer poll_;
};

}  // namespace tracker
