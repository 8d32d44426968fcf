#pragma once

#include <QAbstractButton>
#include <QImage>

#include "manager/display/rules/button_table.h"

namespace display {

// A skinned command button: draws one image of its strip for its state (normal, pressed,
// hover, disabled, and a second set while toggled), tracks the mouse for the hover image, and
// flips its toggled state on each click when it is a toggle button.
class ImageButton : public QAbstractButton {
  Q_OBJECT
 public:
  ImageButton(const ImageButtonSpec& spec, QImage strip, QWidget* parent);

  int id() const { return spec_.id; }
  ButtonKind kind() const { return spec_.kind; }
  bool Toggled() const { return toggled_; }
  // The program's switch for kind 2 (the full-screen button); clicks never flip kind 2.
  void SetToggled(bool toggled);
  bool Hover() const { return hover_; }
  // The strip image the button shows now.
  int ShownImage() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ImageButtonSpec spec_;
  QImage strip_;
  bool hover_ = false;
  bool toggled_ = false;
};

}  // namespace display
