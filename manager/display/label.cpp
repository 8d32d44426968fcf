#include "manager/display/label.h"

#include <QPainter>

namespace display {

CLabel::CLabel(int id, QWidget* parent) : QWidget(parent), id_(id) {
  setObjectName(QString::number(id));
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CLabel::SetText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  update();
}

void CLabel::SetTextColour(QColor colour) {
  textColour_ = colour;
  repaint();
}

void CLabel::SetBackground(std::optional<QColor> colour) {
  background_ = colour;
  setAttribute(Qt::WA_OpaquePaintEvent, background_.has_value());
  update();
}

void CLabel::SetLabelFont(const QFont& font) {
  setFont(font);
  update();
}

void CLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_) painter.fillRect(rect(), *background_);
  painter.setPen(textColour_);
  painter.setFont(font());
  QString text = text_;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace display
