#include "tracker/app/window/track_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "tracker/app/rules/skin_cells.h"
#include "tracker/app/window/skin.h"

namespace tracker {

namespace {
constexpr int kChannelHeight = 6;
}  // namespace

TrackSlider::TrackSlider(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void TrackSlider::SetValue(int value) {
  value = std::clamp(value, 0, 100);
  if (value == value_) return;
  value_ = value;
  update();
}

// The channel leaves half a thumb at each end, so the thumb's centre can reach 0 and 100.
QRect TrackSlider::Channel() const {
  return {kThumbSize / 2, (height() - kChannelHeight) / 2, width() - kThumbSize, kChannelHeight};
}

QRect TrackSlider::Thumb() const {
  const QRect channel = Channel();
  const int centre = channel.x() + SliderFilledWidth(value_, channel.width());
  return {centre - kThumbSize / 2, (height() - kThumbSize) / 2, kThumbSize, kThumbSize};
}

int TrackSlider::ValueAt(int x) const {
  const QRect channel = Channel();
  if (channel.width() <= 0) return 0;
  return std::clamp((x - channel.x()) * 100 / channel.width(), 0, 100);
}

void TrackSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect channel = Channel();
  painter.drawPixmap(channel, SkinBitmap(skin::kChannel));
  const int filled = SliderFilledWidth(value_, channel.width());
  if (filled > 0) {
    const QPixmap& fill = SkinBitmap(skin::kChannelFilled);
    painter.drawPixmap(QRect(channel.x(), channel.y(), filled, channel.height()), fill,
                       QRect(0, 0, std::max(1, fill.width() * filled / std::max(1, channel.width())), fill.height()));
  }
  const int cell = ThumbCellX(pressed_, hover_, !isEnabled());
  painter.drawPixmap(Thumb(), SkinBitmap(skin::kThumb), QRect(cell, 0, kThumbSize, kThumbSize));
}

void TrackSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  SetValue(ValueAt(event->position().toPoint().x()));
  update();
}

void TrackSlider::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool over = Thumb().contains(at);
  if (over != hover_) {
    hover_ = over;
    update();
  }
  if (pressed_) {
    SetValue(ValueAt(at.x()));
    QToolTip::showText(mapToGlobal(QPoint(Thumb().center().x(), -24)), QString::number(value_), this);
  }
}

void TrackSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  update();
  emit Released(value_);
}

void TrackSlider::leaveEvent(QEvent*) {
  hover_ = false;
  update();
}

void TrackSlider::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    pressed_ = false;
    hover_ = false;
    update();
  }
  QWidget::changeEvent(event);
}

}  // namespace tracker
