#pragma once

#include <QWidget>

namespace tracker {

// The replay position slider (0-100): a channel from the skin, filled up to the position, and
// a 16-pixel thumb that can be dragged. It says where it was let go.
class TrackSlider : public QWidget {
  Q_OBJECT
 public:
  explicit TrackSlider(QWidget* parent);

  int value() const { return value_; }
  void SetValue(int value);

 signals:
  void Released(int value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QRect Channel() const;
  QRect Thumb() const;
  int ValueAt(int x) const;

  int value_ = 0;
  bool pressed_ = false;
  bool hover_ = false;
};

}  // namespace tracker
