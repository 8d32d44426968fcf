#include "manager/setup/dialog/time_set_dialog.h"

#include <QCalendarWidget>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "manager/setup/dialog/dialog_palette.h"
#include "manager/setup/dialog/dialog_text.h"
#include "manager/setup/setup_texts.h"

namespace setup {

CTimeSetDlg::CTimeSetDlg(QWidget* parent)
    : QDialog(parent), calendar_(new QCalendarWidget(this)), time_(new QTimeEdit(this)) {
  setWindowTitle(DialogText(texts::kTimeSetButton));
  setPalette(SetupDialogPalette());
  setAutoFillBackground(true);

  const QDateTime now = QDateTime::currentDateTime();
  calendar_->setObjectName(QString::number(kCalendarId));
  calendar_->setGridVisible(true);
  calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  calendar_->setSelectedDate(now.date());
  time_->setObjectName(QString::number(kTimeId));
  time_->setDisplayFormat("HH:mm:ss");
  time_->setTime(now.time());

  // Standard buttons carry the desktop's translated "OK" and "Cancel".
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(calendar_);
  layout->addWidget(time_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ok_->setDefault(true);
}

void CTimeSetDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ok_->setFocus(Qt::OtherFocusReason);
}

ClockTime CTimeSetDlg::Time() const {
  const QDate date = calendar_->selectedDate();
  const QTime time = time_->time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

void CTimeSetDlg::SetTime(const ClockTime& time) {
  calendar_->setSelectedDate(QDate(time.year, time.month, time.day));
  time_->setTime(QTime(time.hour, time.minute, time.second));
}

}  // namespace setup
