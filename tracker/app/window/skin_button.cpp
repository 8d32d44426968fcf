#include "tracker/app/window/skin_button.h"

#include <QEvent>
#include <QPainter>

#include "tracker/app/window/palette.h"
#include "tracker/app/window/skin.h"

namespace tracker {

namespace {
constexpr int kCheckCell = 16;
constexpr int kCheckMargin = 4;
}  // namespace

SkinButton::SkinButton(ButtonKind kind, int bitmap_id, QWidget* parent)
    : QAbstractButton(parent), kind_(kind), bitmap_id_(bitmap_id) {
  setCheckable(kind == ButtonKind::kToggle || kind == ButtonKind::kCheck);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void SkinButton::SetOn(bool on) {
  if (kind_ == ButtonKind::kPlay) {
    if (playing_ == on) return;
    playing_ = on;
    update();
  } else {
    setChecked(on);
  }
}

bool SkinButton::IsOn() const { return kind_ == ButtonKind::kPlay ? playing_ : isChecked(); }

int SkinButton::CurrentCell() const {
  return ButtonCell(kind_, {.pressed = isDown(), .hover = hover_, .disabled = !isEnabled(), .on = IsOn()});
}

void SkinButton::paintEvent(QPaintEvent*) {
  const QPixmap& strip = SkinBitmap(bitmap_id_);
  const int cells = ButtonCellCount(kind_);
  const int cell_width = strip.width() / cells;
  const QRect source(CurrentCell() * cell_width, 0, cell_width, strip.height());
  QPainter painter(this);
  if (kind_ != ButtonKind::kCheck) {
    painter.drawPixmap(rect(), strip, source);
    return;
  }
  const QRect box(0, (height() - kCheckCell) / 2, kCheckCell, kCheckCell);
  painter.drawPixmap(box, strip, source);
  const QRect label = rect().adjusted(kCheckCell + kCheckMargin, 0, -kCheckMargin, 0);
  painter.setPen(isEnabled() ? (hover_ ? QColor(Qt::white) : palette::kText) : palette::kDimText);
  painter.setFont(font());
  const QString shown = painter.fontMetrics().elidedText(text(), Qt::ElideRight, label.width());
  painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void SkinButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void SkinButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) hover_ = false;
    update();
  }
  QAbstractButton::changeEvent(event);
}

QSize SkinButton::sizeHint() const {
  const QPixmap& strip = SkinBitmap(bitmap_id_);
  return {strip.width() / ButtonCellCount(kind_), strip.height()};
}

}  // namespace tracker
