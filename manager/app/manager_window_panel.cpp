// The main window's panel: the GPS, speed and position texts, the switch between the normal
// and the full-screen layout, and the painting of both.
#include <QPaintEvent>
#include <QPainter>
#include <QTableView>

#include "common/gui/utf8_text.h"
#include "manager/app/manager_window.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/qt_geometry.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/rules/graph_mapping.h"
#include "manager/display/rules/palette.h"
#include "manager/display/rules/slider_rules.h"
#include "manager/display/rules/video_layout.h"
#include "manager/display/rules/window_layout.h"
#include "manager/display/sensor_graph.h"
#include "manager/display/video_widget.h"
#include "manager/playback/transport.h"
#include "manager/recording/samples.h"

namespace app {

using namespace display;

namespace {

using gui::FromUtf8;

// The back buffer's font: readouts and the full-screen time text.
constexpr int kBufferFontPixels = 13;
QFont BufferFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kBufferFontPixels);
  return font;
}

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
  for (const Rect& rect : {kPositionStrip, kSensorArea, kGraphRect, kNoAudioIcon, kSpeakerIcon, kVolumeArea}) {
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

// ---- Painting ----

void ManagerWindow::paintEvent(QPaintEvent* event) {
  if (map_ == nullptr && !mapPending_) {
    mapPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { mapView(); }, Qt::QueuedConnection);
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
    buffer.drawImage(QPoint(kLogoLeft, (kTitleBandHeight - logo.height()) / 2), logo);
    if (transport_.playState() == kStopped) {
      if (profile_.channels > 1) restore(kSmallVideoArea);
      restore(kNormalVideoArea);
    }
    restore(kPositionTrack);
    restore(kVolumeArea);
    restore(kRateTrack);
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
    if (offset > 0) {
      buffer.drawImage(QPoint(kPositionBarLeft, kPositionFillTop), skin_.Bitmap(bitmaps::kPositionFill),
                       QRect(0, 0, offset, kPositionFillHeight));
    }
    draw(bitmaps::kPositionThumb, kPositionBarLeft + offset, kPositionThumbTop);
  }
  // Rate and volume fills repeat their bitmap's first column.
  const auto fill = [&](int id, int width, int top) {
    const QImage& bitmap = skin_.Bitmap(id);
    if (width > 0)
      buffer.drawImage(QRect(kSliderLeft, top, width, bitmap.height()), bitmap, QRect(0, 0, 1, bitmap.height()));
  };
  const int rate = transport_.ratePosition();
  fill(bitmaps::kRateFill, rate, kRateFillTop);
  draw(bitmaps::kRateThumb, kSliderLeft + rate, kRateThumbTop);

  const int volume = transport_.volumePosition();
  if (transport_.hasAudioRenderer == 0) {
    draw(bitmaps::kNoAudio, kNoAudioIcon.left, kNoAudioIcon.top);
    draw(bitmaps::kMuted, kSpeakerIcon.left, kSpeakerIcon.top);
    draw(bitmaps::kVolumeThumb, kSliderLeft, kVolumeThumbTop);
    return;
  }
  buffer.drawImage(QPoint(kNoAudioIcon.left, kNoAudioIcon.top), clean, ToQRect(kNoAudioIcon));
  if (volume == 0) {
    draw(bitmaps::kMuted, kSpeakerIcon.left, kSpeakerIcon.top);
  } else {
    buffer.drawImage(QPoint(kSpeakerIcon.left, kSpeakerIcon.top), clean, ToQRect(kSpeakerIcon));
  }
  fill(bitmaps::kVolumeFill, volume, kVolumeFillTop);
  draw(bitmaps::kVolumeThumb, kSliderLeft + volume, kVolumeThumbTop);
}

void ManagerWindow::PaintFullScreen(const QRegion& region) {
  QPainter painter(this);
  painter.setClipRegion(region);
  const int w = screenRect_.width();
  const int h = screenRect_.height();
  const QImage& skin = skin_.Bitmap(bitmaps::kFullScreenBackground);
  const int bw = skin.width();
  const int bh = skin.height();
  // The skin's bands stretched around the screen's black video area.
  constexpr int edge = kFullScreenEdgeWidth;
  constexpr int top = kFullScreenTitleBandHeight;
  constexpr int bottom = kFullScreenBottomBandHeight;
  painter.fillRect(QRect(QPoint(edge, top), QPoint(w - edge - 1, h - bottom - 1)), Qt::black);
  painter.drawImage(QRect(0, 0, w, top), skin, QRect(0, 0, bw, top));
  painter.drawImage(QRect(0, h - bottom, w, bottom), skin, QRect(0, bh - bottom, bw, bottom));
  painter.drawImage(QRect(0, top, edge, h - top - bottom), skin, QRect(0, top, edge, bh - top - bottom));
  painter.drawImage(QRect(w - edge, top, edge, h - top - bottom), skin, QRect(bw - edge, top, edge, bh - top - bottom));
  const QImage& logo = skin_.Bitmap(bitmaps::kLogo);
  painter.drawImage(QPoint(edge, (top - logo.height()) >> 1), logo);

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
