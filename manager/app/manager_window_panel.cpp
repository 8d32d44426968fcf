// The main window's panel, layouts and painting.
#include <QPainter>
#include <QPaintEvent>
#include <QTableView>

#include "common/gui/utf8_text.h"
#include "manager/app/manager_window.h"
#include "manager/display/button_table.h"
#include "manager/display/map_view.h"
#include "manager/display/graph_mapping.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/video_widget.h"
#include "manager/display/palette.h"
#include "manager/display/sensor_graph.h"
#include "manager/display/slider_rules.h"
#include "manager/display/video_layout.h"
#include "manager/playback/transport.h"
#include "manager/recording/samples.h"

namespace app {

using namespace display;

namespace {

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

using gui::FromUtf8;

// The back buffer's font: readouts and the full-screen time text.
QFont BufferFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  return font;
}

constexpr Rect kPositionStrip{65, 684, 675, 695};  // the position bar and its thumb's overhang
constexpr Rect kSensorArea{20, 550, 450, 685};
constexpr Rect kVolumeArea{488, 655, 653, 667};

// The controls that the full-screen layout hides.
constexpr int kHiddenInFullScreen[] = {commands::kPrint, commands::kSnapshot, commands::kSetup, commands::kSwap,
                                       commands::kFolder};
constexpr int kPanelLabels[] = {controls::kDateCaption, controls::kListCaption, controls::kTimeCaption,
                                controls::kCauseCaption, controls::kVersion,    controls::kGpsStatus,
                                controls::kFileName,     controls::kSpeed,      controls::kLatitude,
                                controls::kLongitude,    controls::kSpeedMiles};

}  // namespace

// ---- Panel ----

void ManagerWindow::UpdateGpsPanel(std::int64_t position) {
  const auto sample = recording::FindGpsSample(sensor_, position);
  if (!sample) return;
  panelFix_ = recording::DecodeGpsSample(*sample);
  ApplyGpsPanelChange(GpsPanelChangeFor(panelFix_, gpsFlags_));
}

void ManagerWindow::ApplyGpsPanelChange(const GpsPanelChange& change) {
  CLabel* status = Label(controls::kGpsStatus);
  if (change.statusText) status->SetText(FromUtf8(*change.statusText));
  if (change.statusColour) status->SetTextColour(QColor::fromRgb(static_cast<QRgb>(*change.statusColour)));
  if (change.mapPosition) mapView()->ShowMapPosition((*change.mapPosition)[0], (*change.mapPosition)[1]);
  if (change.labels) SetGpsLabels(*change.labels);
}

void ManagerWindow::SetGpsLabels(const GpsLabels& labels) {
  Label(controls::kLatitude)->SetText(FromUtf8(labels.latitude));
  Label(controls::kLongitude)->SetText(FromUtf8(labels.longitude));
  Label(controls::kSpeed)->SetText(FromUtf8(labels.kmPerHour));
  Label(controls::kSpeedMiles)->SetText(FromUtf8(labels.milesPerHour));
}

void ManagerWindow::UpdatePositionDisplay() {
  const std::int64_t position = transport_.position();
  const std::int64_t duration = transport_.duration;
  if (fullScreen_) {
    const Rect& bar = transport_.fullScreenBar;
    transport_.setFullScreenOffset(OffsetForPosition(position, duration, bar.Width()));
    Invalidate(FullScreenThumbStrip(bar));
    timeText_ = FromUtf8(TimeText(position, duration));
    Invalidate(FullScreenTimeTextRect());
    return;
  }
  Invalidate(kPositionStrip);
  Invalidate(kReadoutStrip);
  Invalidate(kGraphRect);
}

void ManagerWindow::ResetPositionDisplay() {
  panelFix_.latitude = 0.0;
  panelFix_.longitude = 0.0;
  transport_.setPosition(0);
  transport_.ResetOffsets();
  transport_.duration = 0;
  resultBlock_.duration = 0;
  ReleaseSensorData();
  // The last readouts belong to the recording that is being closed.
  RestoreFromSkin(kReadoutStrip);
  Invalidate(kReadoutStrip);
  Invalidate(FullScreenThumbStrip(transport_.fullScreenBar));
  timeText_ = FromUtf8(TimeText(0, 0));
  Invalidate(FullScreenTimeTextRect());
}

void ManagerWindow::ResetPanel() {
  if (map_ != nullptr) map_->hide();
  Label(controls::kFileName)->SetText(FromUtf8(FileNameLabelText({})));
  ApplyGpsPanelChange(ClearedGpsPanel(gpsFlags_));
  ResetPositionDisplay();
  RestoreFromSkin(kPositionStrip);
  RestoreFromSkin(kSensorArea);
  for (const Rect& rect : {kPositionStrip, kSensorArea, kGraphRect, Rect{445, 654, 460, 667},
                           Rect{466, 654, 481, 666}, Rect{488, 655, 653, 667}}) {
    Invalidate(rect);
  }
}

Rect ManagerWindow::FullScreenTimeTextRect() const { return display::FullScreenTimeTextRect(transport_.fullScreenBar); }

// ---- Layouts ----

void ManagerWindow::ToggleFullScreen() {
  ImageButton* button = Button(commands::kFullScreen);
  if (!fullScreen_) {
    EnterFullScreen();
    if (button != nullptr) button->SetToggled(true);
  } else {
    LeaveFullScreen();
    if (button != nullptr) button->SetToggled(false);
  }
}

void ManagerWindow::SetPanelControlsVisible(bool visible) {
  for (const int id : kHiddenInFullScreen) {
    if (ImageButton* button = Button(id)) button->setVisible(visible);
  }
  for (const int id : kPanelLabels) Label(id)->setVisible(visible);
  listView_->setVisible(visible);
}

void ManagerWindow::EnterFullScreen() {
  layoutInProgress_ = true;
  // Back from full screen the window returns where the user last left it.
  normalOrigin_ = geometry().topLeft();
  fullScreen_ = true;
  transport_.fullScreen = true;
  if (map_ != nullptr) map_->hide();
  SetPanelControlsVisible(false);
  for (VideoWidget* window : channels_) {
    if (window != nullptr) window->SetIdleBackground(nullptr);
  }
  LayoutVideoArea(1);
  setWindowState(windowState() | Qt::WindowFullScreen);
  setGeometry(screenRect_);
  PlaceButtons(true);
  const Rect& bar = transport_.fullScreenBar;
  transport_.setFullScreenOffset(OffsetForPosition(transport_.position(), transport_.duration, bar.Width()));
  timeText_ = FromUtf8(TimeText(transport_.position(), transport_.duration));
  layoutInProgress_ = false;
  update();
}

void ManagerWindow::LeaveFullScreen() {
  layoutInProgress_ = true;
  LayoutVideoArea(0);
  setWindowState(windowState() & ~Qt::WindowFullScreen);
  setGeometry(QRect(normalOrigin_, QSize(kNormalWidth, kNormalHeight)));
  PlaceButtons(false);
  fullScreen_ = false;
  transport_.fullScreen = false;
  SetPanelControlsVisible(true);
  for (VideoWidget* window : channels_) {
    if (window != nullptr) window->SetIdleBackground(&cleanSkin());
  }
  // The map comes back only for a recording with GPS data: never empty with nothing open.
  if (map_ != nullptr) map_->setVisible(sensor_.noData == 0);
  layoutInProgress_ = false;
  update();
}

void ManagerWindow::PlaceButtons(bool fullScreen) {
  const auto places = fullScreen ? FullScreenButtonPlaces(screenRect_.width(), screenRect_.height())
                                 : NormalButtonPlaces();
  for (const ButtonPlace& place : places) {
    if (ImageButton* button = Button(place.id)) button->setGeometry(ToQRect(place.rect));
  }
}

void ManagerWindow::LayoutVideoArea(int mode) {
  const Rect area = mode == 1 ? FullScreenVideoArea(screenRect_.width(), screenRect_.height()) : kNormalVideoArea;
  std::optional<PictureSize> picture;
  if (const auto size = playback::NativeVideoSize(channels_[kChannel1]->video())) {
    picture = PictureSize{size->width, size->height};
  }
  videoRect_ = FitVideo(area, picture);

  const int largeChannel = profile_.channels < 2 ? kChannel1
                           : mode == 1          ? FullScreenChannel(swap_, transport_.hasChannel2)
                                                : LargeWindowChannel();
  VideoWidget* large = channels_[largeChannel];
  large->show();
  large->setGeometry(ToQRect(videoRect_));
  SetMuted(largeChannel, false);
  large->video().videoRect = {0, 0, videoRect_.Width(), videoRect_.Height()};
  playback::ResizeVideo(large->video());

  if (profile_.channels < 2) return;
  VideoWidget* other = channels_[1 - largeChannel];
  if (mode == 1) {
    other->hide();
  } else {
    other->setGeometry(ToQRect(kSmallVideoArea));
    other->show();
  }
}

void ManagerWindow::SwapChannels() {
  if (profile_.channels < 2) return;
  VideoWidget* channel1 = channels_[kChannel1];
  VideoWidget* channel2 = channels_[kChannel2];
  if (!swap_) {
    channel2->setGeometry(ToQRect(kNormalVideoArea));
    channel1->setGeometry(ToQRect(kSmallVideoArea));
    swap_ = true;
  } else {
    channel1->setGeometry(ToQRect(kNormalVideoArea));
    channel2->setGeometry(ToQRect(kSmallVideoArea));
    swap_ = false;
  }
  for (const int channel : {kChannel1, kChannel2}) {
    VideoWidget* window = channels_[channel];
    SetMuted(channel, false);
    window->video().videoRect = window->ClientRect();
    playback::ResizeVideo(window->video());
    window->update();
  }
}

// ---- Painting ----

void ManagerWindow::paintEvent(QPaintEvent* event) {
  if (map_ == nullptr && !mapPending_) {
    mapPending_ = true;
    QMetaObject::invokeMethod(this, [this] { mapView(); }, Qt::QueuedConnection);
  }
  if (layoutInProgress_) return;
  if (fullScreen_) {
    PaintFullScreen(event->region());
  } else {
    PaintNormal(event->region());
  }
}

void ManagerWindow::PaintNormal(const QRegion& region) {
  {
    QPainter buffer(&backBuffer_);
    buffer.setFont(BufferFont());
    const QImage& clean = cleanSkin();
    const auto restore = [&](const Rect& r) { buffer.drawImage(QPoint(r.left, r.top), clean, ToQRect(r)); };
    const QImage& logo = skin_.Bitmap(bitmaps::kLogo);
    buffer.drawImage(QPoint(20, (55 - logo.height()) / 2), logo);
    if (transport_.playState() == kStopped) {
      if (profile_.channels > 1) restore(kSmallVideoArea);
      restore(kNormalVideoArea);
    }
    restore({70, 684, 675, 695});
    restore(kVolumeArea);
    restore({488, 634, 643, 646});
    // The graph is the one costly step: only when it is to be shown.
    if (region.intersects(ToQRect(kGraphRect)) || region.intersects(ToQRect(kReadoutStrip))) {
      restore(kGraphRect);
      if (sensor_.noData == 0) {
        DrawSensorGraph(buffer, traces_, transport_.position(), transport_.duration);
        if (transport_.playState() == kPlaying) {
          DrawSensorReadouts(buffer, clean, sensor_, transport_.position(), profile_.gsensor_axes);
        }
      }
    }
    DrawSliders(buffer);
  }
  QPainter painter(this);
  for (const QRect& rect : region) painter.drawImage(rect.topLeft(), backBuffer_, rect);
}

void ManagerWindow::DrawSliders(QPainter& buffer) {
  const auto draw = [&](int id, int x, int y) { buffer.drawImage(QPoint(x, y), skin_.Bitmap(id)); };
  const QImage& clean = cleanSkin();
  if (transport_.playState() != kStopped) {
    const int offset = transport_.positionOffset();
    if (offset > 0) buffer.drawImage(QPoint(70, 684), skin_.Bitmap(bitmaps::kPositionFill), QRect(0, 0, offset, 10));
    draw(bitmaps::kPositionThumb, kPositionBarLeft + offset, 685);
  }
  // Rate and volume fills repeat their bitmap's first column.
  const auto fill = [&](int id, int width, int top) {
    const QImage& bitmap = skin_.Bitmap(id);
    if (width > 0) buffer.drawImage(QRect(kSliderLeft, top, width, bitmap.height()), bitmap, QRect(0, 0, 1, bitmap.height()));
  };
  const int rate = transport_.ratePosition();
  fill(bitmaps::kRateFill, rate, 636);
  draw(bitmaps::kRateThumb, kSliderLeft + rate, 634);

  const int volume = transport_.volumePosition();
  if (transport_.hasAudioRenderer == 0) {
    draw(bitmaps::kNoAudio, 445, 654);
    draw(bitmaps::kMuted, 466, 654);
    draw(bitmaps::kVolumeThumb, kSliderLeft, 655);
    return;
  }
  buffer.drawImage(QPoint(445, 654), clean, QRect(445, 654, 15, 13));
  if (volume == 0) {
    draw(bitmaps::kMuted, 466, 654);
  } else {
    buffer.drawImage(QPoint(466, 654), clean, QRect(466, 654, 15, 12));
  }
  fill(bitmaps::kVolumeFill, volume, 657);
  draw(bitmaps::kVolumeThumb, kSliderLeft + volume, 655);
}

void ManagerWindow::PaintFullScreen(const QRegion& region) {
  QPainter painter(this);
  painter.setClipRegion(region);
  const int w = screenRect_.width();
  const int h = screenRect_.height();
  const QImage& skin = skin_.Bitmap(bitmaps::kFullScreenBackground);
  const int bw = skin.width();
  const int bh = skin.height();
  painter.fillRect(QRect(QPoint(9, 47), QPoint(w - 9 - 1, h - 84 - 1)), Qt::black);
  painter.drawImage(QRect(0, 0, w, 47), skin, QRect(0, 0, bw, 47));
  painter.drawImage(QRect(0, h - 84, w, 84), skin, QRect(0, bh - 84, bw, 84));
  painter.drawImage(QRect(0, 47, 9, h - 131), skin, QRect(0, 47, 9, bh - 131));
  painter.drawImage(QRect(w - 9, 47, 9, h - 131), skin, QRect(bw - 9, 47, 9, bh - 131));
  const QImage& logo = skin_.Bitmap(bitmaps::kLogo);
  painter.drawImage(QPoint(9, (47 - logo.height()) >> 1), logo);

  const Rect& bar = transport_.fullScreenBar;
  const Rect thumb = FullScreenThumbRect(bar, transport_.fullScreenOffset());
  painter.drawImage(ToQRect(bar), skin_.Bitmap(bitmaps::kFullScreenBarEmpty));
  if (thumb.left > bar.left) {
    painter.drawImage(QRect(bar.left, bar.top, thumb.left - bar.left, bar.Height()),
                      skin_.Bitmap(bitmaps::kFullScreenBarFilled));
  }
  painter.drawImage(QPoint(thumb.left, thumb.top), skin_.Bitmap(bitmaps::kFullScreenThumb));
  painter.setPen(Qt::white);
  painter.setFont(BufferFont());
  painter.drawText(ToQRect(FullScreenTimeTextRect()), Qt::AlignLeft | Qt::AlignTop, timeText_);
}

}  // namespace app
