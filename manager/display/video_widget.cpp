#include "manager/display/video_widget.h"

#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QTimer>

#include "manager/playback/transport.h"

namespace display {

VideoWidget::VideoWidget(int id, QWidget* parent) : QWidget(parent), id_(id) {
  setObjectName(QString::number(id));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  video_.owner = this;
}

VideoWidget::~VideoWidget() { playback::Teardown(video_); }

bool VideoWidget::SeekTo(double target) { return playback::SeekTo(video_, target); }

bool VideoWidget::ReadPosition(std::int64_t* position) const { return playback::ReadPosition(video_, position); }

playback::VideoRect VideoWidget::ClientRect() const { return {0, 0, width(), height()}; }

void VideoWidget::PresentFrame(playback::VideoFramePtr) {
  // A streaming thread: one queued repaint at a time is enough, the paint takes the newest frame.
  if (repaintPending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        repaintPending_ = false;
        update();
      },
      Qt::QueuedConnection);
}

void VideoWidget::PaintFrame(const playback::VideoFrame* frame, const playback::VideoRect& destination) {
  if (painter_ == nullptr) return;
  painter_->fillRect(rect(), Qt::black);
  if (frame == nullptr || destination.Width() <= 0 || destination.Height() <= 0) return;
  const playback::VideoSize size = frame->Size();
  if (size.width <= 0 || size.height <= 0) return;
  // The decoder's BGRx rows are Qt's RGB32: wrap them, do not copy.
  const QImage picture(frame->Row(0).data(), size.width, size.height, frame->Stride(), QImage::Format_RGB32);
  const QRect target(destination.left, destination.top, destination.Width(), destination.Height());
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, target.size() != picture.size());
  painter_->drawImage(target, picture);
  ++paintedFrames_;
  paintedPosition_ = frame->Position();
}

void VideoWidget::Invalidate() { update(); }

void VideoWidget::ShowAndUpdate() {
  show();
  repaint();
}

void VideoWidget::Post(std::function<void()> task) {
  // Dropped with the window: the channel goes with it.
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void VideoWidget::PostDelayed(std::chrono::milliseconds delay, std::function<void()> task) {
  QTimer::singleShot(delay, this, std::move(task));
}

void VideoWidget::SetIdleBackground(const QImage* image) {
  idleBackground_ = image;
  update();
}

void VideoWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter_ = &painter;
  if (video_.state == playback::EngineState::kNoGraph && idleBackground_ != nullptr) {
    painter.drawImage(QPoint(0, 0), *idleBackground_, geometry());
  } else if (video_.videoWindow == static_cast<playback::VideoSurface*>(this)) {
    playback::Repaint(video_);
  } else {
    painter.fillRect(rect(), Qt::black);  // not attached to its channel yet
  }
  painter_ = nullptr;
}

}  // namespace display
