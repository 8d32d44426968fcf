// The transport wiring of the main window: the buttons' commands, the two timers that move the
// position bar and the GPS panel, and the mouse and keys (Enter, the list's clicks, the title
// band, the drawn sliders) handed to PlaybackControl and the recording list.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QWindow>

#include <utility>

#include "common/gui/message_box.h"
#include "manager/app/manager_window.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/rules/panel_text.h"
#include "manager/display/rules/window_layout.h"

namespace app {

using namespace display;

// ---- Commands ----

bool ManagerWindow::OnCommand(int id) {
  if (id < profile_.first_command_id || id > profile_.last_command_id) return false;
  switch (id) {
    case commands::kFullScreen: ToggleFullScreen(); return true;
    case commands::kMinimize: showMinimized(); return true;
    case commands::kClose: accept(); return true;
    case commands::kStepForward: transport_.StepForward(); return true;
    case commands::kNext: list_->PlayNextRecording(); return true;
    case commands::kPause: transport_.TogglePause(); return true;
    case commands::kPlay: transport_.PlayRecording(); return true;
    case commands::kStepBack: transport_.StepBack(); return true;
    case commands::kPrevious: list_->PlayPreviousRecording(); return true;
    case commands::kStop: transport_.StopPlayback(); return true;
    case commands::kFolder: list_->OnFolderCommand(); return true;
    case commands::kSnapshot:
      if (transport_.playState() != kStopped) OnSnapshotCommand();
      return true;
    case commands::kPrint: OnPrintCommand(); return true;
    case commands::kSetup: OnSetupCommand(); return true;
    case commands::kSwap:
      if (!profile_.has_channel_swap) return false;
      SwapChannels();
      return true;
    default: return false;
  }
}

// ---- Timers ----

void ManagerWindow::StartTimers() {
  positionTimer_.setObjectName(QString::number(kPositionTimerId));
  panelTimer_.setObjectName(QString::number(kPanelTimerId));
  connect(&positionTimer_, &QTimer::timeout, this, [this] { OnTimer(kPositionTimerId); });
  connect(&panelTimer_, &QTimer::timeout, this, [this] { OnTimer(kPanelTimerId); });
  positionTimer_.start(kPositionTimerMs);
  panelTimer_.start(kPanelTimerMs);
  for (const QTimer* timer : {&positionTimer_, &panelTimer_}) {
    if (!timer->isActive()) gui::ShowMessage(this, QStringLiteral("ERROR: Failed to set timer!"), windowTitle());
  }
}

void ManagerWindow::OnTimer(int id) {
  if (id == kPanelTimerId) {
    ++panelTicks_;
    OnPanelTimer();
  } else if (id == kPositionTimerId) {
    ++positionTicks_;
    OnPositionTimer();
  }
}

void ManagerWindow::OnPanelTimer() {
  if (transport_.playState() != kStopped && sensor_.noData == 0) UpdateGpsPanel(transport_.position());
}

void ManagerWindow::OnPositionTimer() {
  if (transport_.playState() == kStopped) return;
  transport_.FollowPosition();
  if (!fullScreen_) {
    Invalidate(kPositionTickRepaint);
    // Drawn only in full screen; kept current here for the state report.
    timeText_ = QString::fromStdString(TimeText(transport_.position(), transport_.duration));
  }
  // Without sensor data the full-screen bar and time must still follow the playback.
  if (transport_.playState() == kPlaying && (sensor_.noData == 0 || fullScreen_)) UpdatePositionDisplay();
}

// ---- Input ----

bool ManagerWindow::eventFilter(QObject* watched, QEvent* event) {
  // Enter toggles full screen before any control sees it, so it never presses a button.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && widget != nullptr &&
        widget->window() == this) {
      ToggleFullScreen();
      return true;
    }
  }
  if (listView_ != nullptr && watched == listView_->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        pressedRow_ = listView_->indexAt(mouse->position().toPoint()).row();
        secondClickOfDouble_ = false;
      }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      // A double click is press, release, press, double click, release: its first release has
      // opened the row already.
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) secondClickOfDouble_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton && !std::exchange(secondClickOfDouble_, false)) {
        const int row = pressedRow_;
        // After the list has drawn its new selection.
        QMetaObject::invokeMethod(
            this, [this, row] { list_->OnRowClick(row); }, Qt::QueuedConnection);
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ManagerWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  const QPoint point = event->position().toPoint();
  if (point.y() < TitleBandHeight()) {
    // The borderless window moves by its top band.
    // Where the window system cannot move it (no window manager), the window follows the mouse itself.
    if (!fullScreen_ && (windowHandle() == nullptr || !windowHandle()->startSystemMove())) {
      titleDragOffset_ = event->globalPosition().toPoint() - pos();
    }
    return;
  }
  if (!transport_.OnPress(point.x(), point.y())) QDialog::mousePressEvent(event);
}

void ManagerWindow::mouseMoveEvent(QMouseEvent* event) {
  if (titleDragOffset_) {
    move(event->globalPosition().toPoint() - *titleDragOffset_);
    return;
  }
  if (transport_.dragging()) {
    transport_.OnDrag(event->position().toPoint().x());
    return;
  }
  QDialog::mouseMoveEvent(event);
}

void ManagerWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && titleDragOffset_) {
    titleDragOffset_.reset();
    return;
  }
  if (event->button() == Qt::LeftButton && transport_.OnRelease()) return;
  QDialog::mouseReleaseEvent(event);
}

void ManagerWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && event->position().toPoint().y() < TitleBandHeight()) {
    titleDragOffset_.reset();
    ToggleFullScreen();
    return;
  }
  // Elsewhere a double click is no second press.
  event->accept();
}

}  // namespace app
