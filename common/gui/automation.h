#pragma once

// Scripted runs of the GUI programs: --screenshot FILE.png and --state FILE.json.
//
// A program adds the two options to its command-line parser, performs the actions it was asked
// for, reports each failure with Fail(), and calls FinishWhen() with a "settled" test. Once that
// test holds (or the wait times out, which counts as a failure), the window is grabbed to the
// PNG, its observable state is written as JSON, and the program exits: 0 when every requested
// action worked, 2 otherwise. While automation runs, message boxes are recorded, not shown.
#include <QCommandLineParser>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <chrono>
#include <functional>

namespace gui {

struct AutomationOptions {
  QString screenshotPath;
  QString statePath;
  bool active() const { return !screenshotPath.isEmpty() || !statePath.isEmpty(); }
};

// Adds --screenshot and --state to `parser`; ReadAutomationOptions reads them back after parsing.
void AddAutomationOptions(QCommandLineParser& parser);
AutomationOptions ReadAutomationOptions(const QCommandLineParser& parser);

class Automation : public QObject {
  Q_OBJECT
 public:
  using StateProvider = std::function<QJsonObject()>;
  using SettledTest = std::function<bool()>;

  explicit Automation(AutomationOptions options, QObject* parent = nullptr);
  ~Automation() override;

  bool active() const { return options_.active(); }
  const AutomationOptions& options() const { return options_; }

  // A requested action did not work: the program will exit with 2.
  void Fail(const QString& reason);
  bool failed() const { return !failures_.isEmpty(); }
  const QStringList& failures() const { return failures_; }

  // Polls `settled` on the event loop; when it holds, grabs `window` (the widget named by
  // `target()` at that moment, when one is set), writes `state()` and quits the application.
  // `minimum` keeps the loop running at least that long (so each timer ticks once).
  void FinishWhen(QWidget* window, StateProvider state, SettledTest settled,
                  std::chrono::milliseconds minimum = std::chrono::milliseconds(600),
                  std::chrono::milliseconds timeout = std::chrono::seconds(30));

  // Grabs this widget instead of the main window (a dialog opened on request, for example).
  void SetScreenshotTarget(QWidget* widget) { target_ = widget; }

  // Grabs, writes and returns the exit code, without quitting (the tests call this directly).
  int WriteResults(QWidget* window, const QJsonObject& state);

 private:
  void Poll();

  AutomationOptions options_;
  QStringList failures_;
  QPointer<QWidget> window_;
  QPointer<QWidget> target_;
  StateProvider state_;
  SettledTest settled_;
  qint64 startedMs_ = 0;
  std::chrono::milliseconds minimum_{0};
  std::chrono::milliseconds timeout_{0};
  bool finishing_ = false;
};

}  // namespace gui
