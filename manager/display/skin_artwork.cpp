#include "manager/display/skin_artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>

#include "manager/display/qt_geometry.h"
#include "manager/display/rules/graph_mapping.h"
#include "manager/display/rules/palette.h"
#include "manager/display/rules/slider_rules.h"
#include "manager/display/rules/video_layout.h"

namespace display::artwork {
namespace {

using namespace palette;

constexpr std::uint32_t kWell = 0x14171b;       // sunken areas: graph, slider grooves, map
constexpr std::uint32_t kVideoWell = 0x0d0f12;  // where video shows
constexpr std::uint32_t kGlyph = 0x2b3139;      // faint placeholder symbols

QFont Sans(int pixelSize, bool bold = false) {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void Panel(QPainter& p, const QRectF& r, std::uint32_t fill = kPanel) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(kFrame), 1.0));
  p.setBrush(ToQColor(fill));
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
  p.restore();
}

// A sunken area whose inside is exactly `inner`: its frame lies one pixel outside.
void Well(QPainter& p, const QRect& inner, std::uint32_t fill = kWell) {
  p.fillRect(inner.adjusted(-1, -1, 1, 1), ToQColor(kFrame));
  p.fillRect(inner, ToQColor(fill));
}

// A camera lens: the sign of a video window that shows nothing yet.
void LensGlyph(QPainter& p, QPointF centre, double radius) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ToQColor(kGlyph), radius * 0.12));
  p.drawEllipse(centre, radius, radius);
  p.drawEllipse(centre, radius * 0.55, radius * 0.55);
  p.setBrush(ToQColor(kGlyph));
  p.setPen(Qt::NoPen);
  p.drawEllipse(centre + QPointF(-radius * 0.18, -radius * 0.18), radius * 0.14, radius * 0.14);
  p.restore();
}

// A map pin over a faint street grid: where the map shows once a recording has GPS data.
void MapPlaceholder(QPainter& p, const QRect& area) {
  p.save();
  p.setClipRect(area);
  p.setPen(QPen(ToQColor(0x1c2026), 1));
  for (int x = area.left() + 12; x < area.right(); x += 24) p.drawLine(x, area.top(), x, area.bottom());
  for (int y = area.top() + 12; y < area.bottom(); y += 24) p.drawLine(area.left(), y, area.right(), y);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(0x232830), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(area.left(), area.center().y() + 30), QPointF(area.right(), area.center().y() - 40));
  p.drawLine(QPointF(area.center().x() - 50, area.top()), QPointF(area.center().x() + 20, area.bottom()));
  const QPointF tip(area.center().x(), area.center().y() + 18);
  QPainterPath pin;
  pin.moveTo(tip);
  pin.cubicTo(tip + QPointF(-6, -12), tip + QPointF(-16, -20), tip + QPointF(-16, -32));
  pin.arcTo(QRectF(tip.x() - 16, tip.y() - 48, 32, 32), 180, -180);
  pin.cubicTo(tip + QPointF(16, -20), tip + QPointF(6, -12), tip);
  p.setPen(QPen(ToQColor(0x3a414b), 2));
  p.setBrush(ToQColor(0x2b3139));
  p.drawPath(pin);
  p.setBrush(ToQColor(kWell));
  p.drawEllipse(QPointF(tip.x(), tip.y() - 32), 6, 6);
  p.restore();
}

void GraphScale(QPainter& p) {
  const QRect graph(kGraphRect.left, kGraphRect.top, kGraphRect.Width(), kGraphRect.Height());
  Well(p, graph);
  p.setFont(Sans(10));
  struct Line {
    double g;
    const char* label;
  };
  for (const Line& line : {Line{2, "+2g"}, Line{1, "+1g"}, Line{0, "0"}, Line{-1, "-1g"}, Line{-2, "-2g"}}) {
    const int y = GraphY(line.g);
    if (line.g == 0) {
      p.setPen(QPen(ToQColor(kFrame), 1));
    } else {
      p.setPen(QPen(ToQColor(0x262b32), 1, Qt::DashLine));
    }
    if (y > graph.top()) p.drawLine(graph.left(), y, graph.right(), y);
    p.setPen(ToQColor(kDimText));
    p.drawText(QRect(24, y - 7, 40, 14), Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(line.label));
  }
  // Quarter marks along the time axis.
  p.setPen(QPen(ToQColor(0x262b32), 1, Qt::DotLine));
  for (int i = 1; i < 4; ++i) {
    const int x = graph.left() + graph.width() * i / 4;
    p.drawLine(x, graph.top(), x, graph.bottom());
  }
}

void SliderGroove(QPainter& p, int top, bool snapMarks) {
  // The fill is drawn five pixels high from `top`, the thumb ten high from top - 2.
  Well(p, QRect(kSliderLeft, top, 150, 5));
  if (!snapMarks) return;
  p.setPen(ToQColor(0x4b535d));
  for (const int position : {0, 35, 73, 108, 145}) {
    const int x = kSliderLeft + position + 2;
    p.drawLine(x, top + 8, x, top + 9);
  }
}

}  // namespace

void PaintSpeaker(QPainter& p, const QRectF& box, QColor colour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  const double w = box.width();
  const double h = box.height();
  QPainterPath body;
  body.moveTo(box.left() + 0.5, box.top() + h * 0.35);
  body.lineTo(box.left() + w * 0.22, box.top() + h * 0.35);
  body.lineTo(box.left() + w * 0.5, box.top() + 0.5);
  body.lineTo(box.left() + w * 0.5, box.bottom() - 0.5);
  body.lineTo(box.left() + w * 0.22, box.top() + h * 0.65);
  body.lineTo(box.left() + 0.5, box.top() + h * 0.65);
  body.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(body);
  p.restore();
}

void PaintDial(QPainter& p, const QRectF& box, QColor colour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QRectF arc(box.left() + 1, box.top() + 1, box.width() - 2, (box.height() - 1) * 2 - 2);
  p.drawArc(arc, 0, 180 * 16);
  const QPointF centre(box.center().x(), box.bottom() - 1);
  p.drawLine(centre, QPointF(box.right() - 3.5, box.top() + 3.5));
  p.setBrush(colour);
  p.drawEllipse(centre, 1.5, 1.5);
  p.restore();
}

void PaintBackground(QImage& image, const setup::Profile& profile) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(kBackground));

  // Title band: the window is moved by it.
  p.fillRect(0, 0, kNormalWidth, kTitleBandHeight, ToQColor(kPanel));
  p.fillRect(0, 54, 1024, 1, ToQColor(kFrame));
  p.fillRect(0, 52, 1024, 2, ToQColor(0x1f2329));
  p.setPen(ToQColor(kText));
  p.setFont(Sans(17, true));
  p.drawText(QRect(112, 0, 400, 55), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(profile.window_title));

  // Left column: the large video, the G-sensor graph, the recording's data, the sliders.
  Panel(p, QRectF(14, 57, 659, 489));
  Well(p, ToQRect(kNormalVideoArea), kVideoWell);
  LensGlyph(p, QPointF(345, 300), 46);

  Panel(p, QRectF(14, 548, 428, 134));
  GraphScale(p);

  Panel(p, QRectF(446, 548, 227, 80), palette::kDataLabelBackground);
  Panel(p, QRectF(446, 630, 227, 52));
  PaintDial(p, QRectF(466, 634, 15, 12), ToQColor(kDimText));
  SliderGroove(p, 636, true);
  PaintSpeaker(p, QRectF(466, 654, 9, 12), ToQColor(kDimText));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(kDimText), 1.2));
  p.drawArc(QRectF(470, 656, 7, 8), -50 * 16, 100 * 16);
  p.drawArc(QRectF(469, 654, 11, 12), -50 * 16, 100 * 16);
  p.setRenderHint(QPainter::Antialiasing, false);
  SliderGroove(p, 657, false);

  // Position bar.
  Well(p, QRect(kPositionBar.left, kPositionBar.top, kPositionBarWidth + kThumbWidth, 11));

  // Transport band.
  Panel(p, QRectF(14, 703, 659, 58));

  // Right column: the list, the rear camera, the map.
  Panel(p, QRectF(675, 57, 335, 705));
  p.fillRect(675 + 1, 78, 333, 19, ToQColor(0x2d333b));
  p.fillRect(675 + 1, 97, 333, 1, ToQColor(kFrame));
  Well(p, ToQRect(kRecordingListArea), kListBackground);
  if (profile.channels > 1) {
    Well(p, ToQRect(kSmallVideoArea), kVideoWell);
    LensGlyph(p, QPointF(839, 372), 30);
  }
  const auto& map = profile.map_view;
  const QRect mapArea(map.x, map.y, map.width, map.height);
  Well(p, mapArea);
  MapPlaceholder(p, mapArea);
}

void PaintFullScreenBackground(QImage& image) {
  // Stretched in pieces: the top 47 rows, the bottom 84 rows, and nine columns at each side.
  QPainter p(&image);
  const int w = image.width();
  const int h = image.height();
  p.fillRect(image.rect(), ToQColor(kVideoWell));
  p.fillRect(0, 0, w, 47, ToQColor(kPanel));
  p.fillRect(0, 46, w, 1, ToQColor(kFrame));
  p.fillRect(0, h - 84, w, 84, ToQColor(kPanel));
  p.fillRect(0, h - 84, w, 1, ToQColor(kFrame));
  p.fillRect(0, 47, 9, h - 131, ToQColor(kPanel));
  p.fillRect(w - 9, 47, 9, h - 131, ToQColor(kPanel));
  p.fillRect(8, 47, 1, h - 131, ToQColor(kFrame));
  p.fillRect(w - 9, 47, 1, h - 131, ToQColor(kFrame));
}

void PaintLogo(QImage& image) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(kPanel));
  p.setRenderHint(QPainter::Antialiasing, true);
  // A dash camera seen from the front: body, lens, recording light.
  p.setPen(QPen(ToQColor(kAmber), 2));
  p.setBrush(ToQColor(kWell));
  p.drawRoundedRect(QRectF(2, 10, 34, 25), 5, 5);
  p.setPen(QPen(ToQColor(kBlue), 2.2));
  p.setBrush(ToQColor(0x0b1a33));
  p.drawEllipse(QPointF(17, 22.5), 7.5, 7.5);
  p.setPen(Qt::NoPen);
  p.setBrush(ToQColor(0x9ec5ff));
  p.drawEllipse(QPointF(15, 20.5), 1.8, 1.8);
  p.setBrush(ToQColor(kRed));
  p.drawEllipse(QPointF(30.5, 15), 2, 2);
  p.setFont(Sans(11, true));
  p.setPen(ToQColor(kAmber));
  p.drawText(QRectF(40, 8, 38, 15), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DASH"));
  p.setPen(ToQColor(kText));
  p.drawText(QRectF(40, 22, 38, 15), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CAM"));
}

void PaintBarFill(QImage& image, QColor colour) {
  QPainter p(&image);
  QLinearGradient gradient(0, 0, 0, image.height());
  gradient.setColorAt(0, colour.lighter(135));
  gradient.setColorAt(0.5, colour);
  gradient.setColorAt(1, colour.darker(135));
  p.fillRect(image.rect(), gradient);
}

void PaintSmallThumb(QImage& image) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(0xf4f6f8));
  p.fillRect(0, 0, 1, image.height(), ToQColor(kDimText));
  p.fillRect(image.width() - 1, 0, 1, image.height(), ToQColor(kDimText));
  p.fillRect(2, 2, 1, image.height() - 4, ToQColor(kAmber));
}

void PaintFullScreenBar(QImage& image, bool filled) {
  QPainter p(&image);
  const QRect inner = image.rect().adjusted(0, 1, 0, -1);
  p.fillRect(image.rect(), ToQColor(kFrame));
  if (filled) {
    QLinearGradient gradient(0, 0, 0, image.height());
    gradient.setColorAt(0, ToQColor(kAmber).lighter(135));
    gradient.setColorAt(0.5, ToQColor(kAmber));
    gradient.setColorAt(1, ToQColor(kAmber).darker(135));
    p.fillRect(inner, gradient);
  } else {
    p.fillRect(inner, ToQColor(kWell));
  }
}

void PaintFullScreenThumb(QImage& image) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(kPanel));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(kDimText), 1));
  p.setBrush(ToQColor(0xf4f6f8));
  p.drawRoundedRect(QRectF(0.5, 0.5, 10, 18), 3, 3);
  p.setPen(QPen(ToQColor(kAmber), 2));
  p.drawLine(QPointF(5.5, 5), QPointF(5.5, 14));
}

void PaintMutedIcon(QImage& image) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(kPanel));
  PaintSpeaker(p, QRectF(0, 0, 9, 12), ToQColor(kText));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(kRed), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10, 3.5), QPointF(14, 8.5));
  p.drawLine(QPointF(14, 3.5), QPointF(10, 8.5));
}

void PaintNoAudioIcon(QImage& image) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(kPanel));
  PaintSpeaker(p, QRectF(2, 0.5, 10, 12), ToQColor(kDimText));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(kRed), 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(1.5, 12), QPointF(13.5, 1));
}

}  // namespace display::artwork
