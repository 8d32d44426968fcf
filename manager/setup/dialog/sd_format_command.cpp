#include "manager/setup/dialog/sd_format_command.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <chrono>
#include <future>

#include "common/gui/message_box.h"
#include "manager/setup/card_format.h"
#include "manager/setup/dialog/card_folder_chooser.h"
#include "manager/setup/dialog/dialog_text.h"
#include "manager/setup/dialog/setup_dialog_texts.h"
#include "manager/setup/dialog/setup_host.h"

namespace setup {
namespace {

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// The programs run on a worker thread while this one keeps painting (user input waits), so
// the windows do not freeze for the seconds a large card takes.
CardFormatOutcome ExecuteWhilePainting(CardSystem& system, const CardFormatPlan& plan) {
  auto work = std::async(std::launch::async, [&system, &plan] { return ExecuteCardFormat(system, plan); });
  while (work.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  }
  return work.get();
}

QString FailureText(const CardFormatOutcome& outcome) {
  QString text = DialogText(texts::kFormatFailed);
  if (outcome.failed_program.empty()) return text;
  const QString program = QString::fromStdString(outcome.failed_program);
  const ProgramRun& run = outcome.failed_run;
  // The last line of a program's complaint says what went wrong.
  const QString errors = QString::fromStdString(run.errors).trimmed().section('\n', -1);
  text += "\n\n";
  if (!run.started) {
    text += DialogText(texts::kProgramNotStarted).arg(program);
  } else if (!errors.isEmpty()) {
    text += errors;
  } else {
    text += DialogText(texts::kProgramFailed).arg(program).arg(run.exit_code);
  }
  return text;
}

}  // namespace

SdFormatRun RunSdFormat(QWidget* dialog, SetupHost& host, const std::string& card_folder) {
  SdFormatRun run;
  if (gui::ShowMessage(dialog, DialogText(texts::kFormatWarning), QString(), QMessageBox::Warning,
                       QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) != QMessageBox::Ok) {
    return run;
  }
  const std::optional<std::string> chosen = ChooseCardFolder(host, dialog);
  if (!chosen) {
    run.end = SdFormatRun::End::ChooserCancelled;
    return run;
  }

  host.StopPlaybackAndClearList();
  if (dialog) dialog->repaint();

  CardSystem& system = host.Card();
  run.plan = PlanCardFormat(system, *chosen, card_folder);
  if (run.plan.refused()) {
    qInfo("card format refused for %s: %s", chosen->c_str(), std::string(CardRefusalName(run.plan.refusal)).c_str());
    gui::ShowMessage(dialog, QString::fromStdString(FormatRefusalText(DialogTextLookup())));
    run.end = SdFormatRun::End::Refused;
    return run;
  }

  {
    WaitCursor wait;
    run.outcome = ExecuteWhilePainting(system, run.plan);
  }
  if (!run.outcome.result.Succeeded()) {
    gui::ShowMessage(dialog, FailureText(run.outcome), QString(), QMessageBox::Warning);
    run.end = SdFormatRun::End::Failed;
    return run;
  }
  QString text = DialogText(texts::kFormatSucceeded);
  if (!run.outcome.remounted) {
    text += "\n\n" + DialogText(texts::kFormatNotMounted).arg(QString::fromStdString(run.plan.mount.mount_point));
  }
  gui::ShowMessage(dialog, text);
  run.end = SdFormatRun::End::Formatted;
  return run;
}

}  // namespace setup
