#pragma once

// Every message box of the GUI programs goes through here, so that scripted runs and tests can
// record the texts instead of waiting for a click.
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace gui {

// With recording on, ShowMessage records `text` and answers `recordedAnswer` (OK unless set
// otherwise) without showing anything; with it off, it runs a modal QMessageBox.
void SetMessageRecording(bool on, QMessageBox::StandardButton recordedAnswer = QMessageBox::Ok);
bool MessageRecording();
const QStringList& RecordedMessages();
void ClearRecordedMessages();

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& title = QString(),
                                        QMessageBox::Icon icon = QMessageBox::NoIcon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

}  // namespace gui
