#include "common/gui/automation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPixmap>
#include <QSaveFile>
#include <QTimer>

#include "common/gui/message_box.h"

namespace gui {

void AddAutomationOptions(QCommandLineParser& parser) {
  parser.addOption(
      {"screenshot", "Once the requested actions have settled, save the window as a PNG and exit.", "FILE.png"});
  parser.addOption(
      {"state", "Once the requested actions have settled, write the window's state as JSON and exit.", "FILE.json"});
}

AutomationOptions ReadAutomationOptions(const QCommandLineParser& parser) {
  return {parser.value("screenshot"), parser.value("state")};
}

Automation::Automation(AutomationOptions options, QObject* parent) : QObject(parent), options_(std::move(options)) {
  if (options_.active()) SetMessageRecording(true);
}

Automation::~Automation() = default;

void Automation::Fail(const QString& reason) { failures_.append(reason); }

void Automation::FinishWhen(QWidget* window, StateProvider state, SettledTest settled,
                            std::chrono::milliseconds minimum, std::chrono::milliseconds timeout) {
  window_ = window;
  state_ = std::move(state);
  settled_ = std::move(settled);
  minimum_ = minimum;
  timeout_ = timeout;
  startedMs_ = QDateTime::currentMSecsSinceEpoch();
  finishing_ = true;
  QTimer::singleShot(0, this, &Automation::Poll);
}

void Automation::Poll() {
  if (!finishing_) return;
  const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - startedMs_;
  const bool settled = !settled_ || settled_();
  if (elapsed < minimum_.count() || (!settled && elapsed < timeout_.count())) {
    QTimer::singleShot(50, this, &Automation::Poll);
    return;
  }
  finishing_ = false;
  if (!settled) Fail(QStringLiteral("timed out waiting for the requested actions to settle"));
  const int code = WriteResults(window_, state_ ? state_() : QJsonObject());
  QCoreApplication::exit(code);
}

int Automation::WriteResults(QWidget* window, const QJsonObject& state) {
  if (!options_.screenshotPath.isEmpty()) {
    QWidget* shot = target_ ? target_.data() : window;
    if (!shot || !shot->grab().save(options_.screenshotPath, "PNG")) {
      Fail(QStringLiteral("could not write the screenshot ") + options_.screenshotPath);
    }
  }
  if (!options_.statePath.isEmpty()) {
    QJsonObject full = state;
    if (!full.contains("messages")) full.insert("messages", QJsonArray::fromStringList(RecordedMessages()));
    full.insert("failures", QJsonArray::fromStringList(failures_));
    QSaveFile file(options_.statePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(full).toJson(QJsonDocument::Indented)) < 0 ||
        !file.commit()) {
      Fail(QStringLiteral("could not write the state file ") + options_.statePath);
    }
  }
  for (const QString& failure : failures_) qWarning("%s", qPrintable(failure));
  return failures_.isEmpty() ? 0 : 2;
}

}  // namespace gui
