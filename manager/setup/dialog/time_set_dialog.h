#pragma once

#include <QDialog>

#include "manager/setup/clock_file.h"

class QCalendarWidget;
class QPushButton;
class QTimeEdit;

namespace setup {

// The time picker of "Time setting": a month calendar for the date, a time editor for the time,
// OK and Cancel in the desktop's own words. OK has the keyboard focus, so Enter takes the
// current time at once.
class CTimeSetDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kCalendarId = 1127;
  static constexpr int kTimeId = 1126;

  explicit CTimeSetDlg(QWidget* parent = nullptr);

  // The picked date and time (what OK takes).
  ClockTime Time() const;
  // Puts a date and time into the controls.
  void SetTime(const ClockTime& time);

  QCalendarWidget* calendar() const { return calendar_; }
  QTimeEdit* time_edit() const { return time_; }
  QPushButton* ok_button() const { return ok_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QCalendarWidget* calendar_;
  QTimeEdit* time_;
  QPushButton* ok_;
};

}  // namespace setup
