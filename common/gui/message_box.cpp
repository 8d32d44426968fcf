#include "common/gui/message_box.h"

#include <QCoreApplication>

namespace gui {
namespace {

struct Recording {
  bool on = false;
  QMessageBox::StandardButton answer = QMessageBox::Ok;
  QStringList texts;
};

Recording& State() {
  static Recording recording;
  return recording;
}

}  // namespace

void SetMessageRecording(bool on, QMessageBox::StandardButton recordedAnswer) {
  State().on = on;
  State().answer = recordedAnswer;
}

bool MessageRecording() { return State().on; }
const QStringList& RecordedMessages() { return State().texts; }
void ClearRecordedMessages() { State().texts.clear(); }

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& title,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
  if (State().on) {
    State().texts.append(text);
    return State().answer;
  }
  QMessageBox box(icon, title.isEmpty() ? QCoreApplication::applicationName() : title, text, buttons, parent);
  // Texts carry file names from the card: a name holding markup must show as written, never as a
  // link or a picture.
  box.setTextFormat(Qt::PlainText);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace gui
