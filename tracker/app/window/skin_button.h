#pragma once

#include <QAbstractButton>

#include "tracker/app/rules/skin_cells.h"

namespace tracker {

// An owner-drawn button that paints one cell of a skin strip for its look. Plain buttons
// click; a toggle flips on each click (isChecked is its state); a play button shows its on
// cells while SetOn(true); a check box flips on a click and draws its text right of the
// 16-pixel cell.
class SkinButton : public QAbstractButton {
  Q_OBJECT
 public:
  SkinButton(ButtonKind kind, int bitmap_id, QWidget* parent);

  ButtonKind kind() const { return kind_; }
  // Playing (play buttons); same as setChecked for toggles and check boxes.
  void SetOn(bool on);
  bool IsOn() const;
  bool hovered() const { return hover_; }
  // The strip cell currently drawn.
  int CurrentCell() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  QSize sizeHint() const override;

 private:
  ButtonKind kind_;
  int bitmap_id_;
  bool hover_ = false;
  bool playing_ = false;
};

}  // namespace tracker
