#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <optional>

namespace display {

// A static text of the skinned window with its own font, text colour and background: a solid
// brush, or none so that the skin shows through. Lines are broken at "\r\n".
class CLabel : public QWidget {
 public:
  CLabel(int id, QWidget* parent);

  int id() const { return id_; }
  const QString& Text() const { return text_; }
  void SetText(const QString& text);
  QColor TextColour() const { return textColour_; }
  // Repaints at once, as a status colour must show without waiting.
  void SetTextColour(QColor colour);
  std::optional<QColor> Background() const { return background_; }
  void SetBackground(std::optional<QColor> colour);
  void SetLabelFont(const QFont& font);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int id_;
  QString text_;
  QColor textColour_ = Qt::white;
  std::optional<QColor> background_;
};

}  // namespace display
