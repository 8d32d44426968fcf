#include "tracker/app/window/progress_window.h"

#include <QPainter>
#include <QScreen>

#include "tracker/app/rules/progress_bars.h"
#include "tracker/app/rules/row_list.h"

namespace tracker {

namespace {

QColor FromColorRef(unsigned color_ref) { return QColor::fromRgb(RgbOfColorRef(color_ref)); }

QRect ToQRect(const Rect& r) { return {r.x, r.y, r.width, r.height}; }

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName("ProgressWindow");
  setFixedSize(kProgressWidth, kProgressHeight);
  setAttribute(Qt::WA_ShowWithoutActivating);
}

void ProgressWindow::SetProgress(int value, ScanPhase phase) {
  const int lower = static_cast<int>(phase);
  const ProgressBars bars = ProgressBarRects(width(), height());
  if (value != upper_) {
    upper_ = value;
    update(ToQRect(bars.upper));
  }
  if (lower != lower_) {
    lower_ = lower;
    update(ToQRect(bars.lower));
  }
}

void ProgressWindow::showEvent(QShowEvent* event) {
  if (QWidget* owner = parentWidget()) {
    move(owner->mapToGlobal(owner->rect().center()) - rect().center());
  }
  QWidget::showEvent(event);
}

void ProgressWindow::paintEvent(QPaintEvent*) {
  ++repaints_;
  QPainter painter(this);
  painter.fillRect(rect(), FromColorRef(kProgressBackgroundColorRef));
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const ProgressBars bars = ProgressBarRects(width(), height());
  const auto bar = [&](const Rect& r, int percent, unsigned colour) {
    const QRect area = ToQRect(r);
    painter.fillRect(QRect(area.x(), area.y(), ProgressFill(r, percent), area.height()), FromColorRef(colour));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
  };
  bar(bars.upper, upper_, kUpperBarColorRef);
  bar(bars.lower, lower_, kLowerBarColorRef);
}

}  // namespace tracker
