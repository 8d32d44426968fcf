#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>
#include <cstdint>

#include "manager/playback/video.h"
#include "manager/playback/video_surface.h"

class QPainter;

namespace display {

// A video window: owns one channel's playback engine and shows its frames, letter-boxed on
// black. Frames arrive on the engine's streaming threads; the window only schedules a repaint
// there and paints on its own thread. It is also the channel's owner thread: the steps of an
// open come back to it as queued calls, so its channel never waits on the window thread.
class VideoWidget : public QWidget, public playback::VideoSurface, public playback::OwnerThread {
 public:
  VideoWidget(int id, QWidget* parent);
  // Tears the channel down first, so that no streaming thread reaches a window being destroyed.
  ~VideoWidget() override;

  int id() const { return id_; }
  playback::CVideo& video() { return video_; }
  const playback::CVideo& video() const { return video_; }

  // The two forwards the main window uses.
  bool SeekTo(double target);
  bool ReadPosition(std::int64_t* position) const;

  // What the window shows while its channel has no graph: this image's part under the window
  // (the parent's skin), or black when none is set.
  void SetIdleBackground(const QImage* image);

  // What the window last painted: how many frames, and the position of the last one (100 ns
  // units; -1 before any).
  int PaintedFrames() const { return paintedFrames_; }
  std::int64_t PaintedPosition() const { return paintedPosition_; }

  // playback::VideoSurface
  playback::VideoRect ClientRect() const override;
  void PresentFrame(playback::VideoFramePtr frame) override;
  void PaintFrame(const playback::VideoFrame* frame, const playback::VideoRect& destination) override;
  void Invalidate() override;
  void ShowAndUpdate() override;

  // playback::OwnerThread
  void Post(std::function<void()> task) override;
  void PostDelayed(std::chrono::milliseconds delay, std::function<void()> task) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int id_;
  playback::CVideo video_;
  std::atomic<bool> repaintPending_{false};
  QPainter* painter_ = nullptr;  // set only inside paintEvent
  const QImage* idleBackground_ = nullptr;
  int paintedFrames_ = 0;
  std::int64_t paintedPosition_ = -1;
};

}  // namespace display
