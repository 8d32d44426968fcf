#include "manager/display/image_button.h"

#include <QMouseEvent>
#include <QPainter>

namespace display {

ImageButton::ImageButton(const ImageButtonSpec& spec, QImage strip, QWidget* parent)
    : QAbstractButton(parent), spec_(spec), strip_(std::move(strip)) {
  setObjectName(QString::number(spec.id));
  setGeometry(spec.place.left, spec.place.top, spec.place.Width(), spec.place.Height());
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageButton::SetToggled(bool toggled) {
  if (toggled_ == toggled) return;
  toggled_ = toggled;
  update();
}

int ImageButton::ShownImage() const {
  ButtonDrawState state;
  state.selected = isDown();
  state.disabled = !isEnabled();
  state.focused = hasFocus();
  state.hover = hover_;
  state.toggled = toggled_;
  return ButtonImageIndex(spec_.kind, state);
}

void ImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int w = spec_.place.Width();
  painter.drawImage(QPoint(0, 0), strip_, QRect(ShownImage() * w, 0, w, spec_.place.Height()));
  if (spec_.kind == ButtonKind::ToggleWithText) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(w + 5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     text().left(520));
  }
}

void ImageButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  if (hover_) return;
  hover_ = true;
  update();
}

void ImageButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  hover_ = false;
  update();
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
  if (!hover_ && rect().contains(event->position().toPoint())) {
    hover_ = true;
    update();
  }
  QAbstractButton::mouseMoveEvent(event);
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton &&
      (spec_.kind == ButtonKind::Toggle || spec_.kind == ButtonKind::ToggleWithText)) {
    toggled_ = !toggled_;
    update();
  }
  QAbstractButton::mouseReleaseEvent(event);
}

}  // namespace display
