#include "tracker/app/window/skin.h"

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "tracker/app/rules/skin_cells.h"
#include "tracker/app/window/palette.h"

namespace tracker {

namespace {

using namespace palette;

enum class Glyph { kOpen, kSave, kPrint, kPlayForward, kPlayReverse, kShowTime, kMinimise, kClose };

// Colours of one look of a button face.
struct FaceColours {
  QColor top;
  QColor bottom;
  QColor border;
  QColor glyph;
};

FaceColours Face(int look, bool on) {
  switch (look) {
    case 1:  // pressed
      return {QColor(0x1c, 0x20, 0x25), QColor(0x24, 0x28, 0x2e), kAmber, kAmber};
    case 2:  // under the mouse
      return {QColor(0x44, 0x4d, 0x59), QColor(0x33, 0x39, 0x42), QColor(0x6b, 0x76, 0x84),
              on ? kAmber.lighter(115) : QColor(Qt::white)};
    case 3:  // disabled
      return {QColor(0x25, 0x29, 0x2f), QColor(0x22, 0x26, 0x2b), QColor(0x30, 0x35, 0x3d),
              on ? QColor(0x6b, 0x5a, 0x2c) : QColor(0x4d, 0x54, 0x5e)};
    default: return {QColor(0x36, 0x3d, 0x47), QColor(0x29, 0x2e, 0x35), QColor(0x4a, 0x53, 0x5f), on ? kAmber : kText};
  }
}

void DrawGlyph(QPainter& p, const QRectF& box, Glyph glyph, const QColor& colour) {
  const double s = box.width();
  const double x = box.x();
  const double y = box.y();
  QPen pen(colour, std::max(1.2, s / 11), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QColor fill = colour;
  fill.setAlphaF(0.3);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case Glyph::kOpen: {
      QPainterPath folder;
      folder.moveTo(x + 0.05 * s, y + 0.85 * s);
      folder.lineTo(x + 0.05 * s, y + 0.18 * s);
      folder.lineTo(x + 0.38 * s, y + 0.18 * s);
      folder.lineTo(x + 0.48 * s, y + 0.30 * s);
      folder.lineTo(x + 0.90 * s, y + 0.30 * s);
      folder.lineTo(x + 0.90 * s, y + 0.45 * s);
      p.setBrush(fill);
      p.drawPath(folder);
      QPainterPath flap;
      flap.moveTo(x + 0.05 * s, y + 0.85 * s);
      flap.lineTo(x + 0.22 * s, y + 0.45 * s);
      flap.lineTo(x + 1.00 * s, y + 0.45 * s);
      flap.lineTo(x + 0.83 * s, y + 0.85 * s);
      flap.closeSubpath();
      p.setBrush(colour);
      p.drawPath(flap);
      break;
    }
    case Glyph::kSave: {
      QPainterPath disk;
      disk.moveTo(x + 0.1 * s, y + 0.1 * s);
      disk.lineTo(x + 0.75 * s, y + 0.1 * s);
      disk.lineTo(x + 0.9 * s, y + 0.25 * s);
      disk.lineTo(x + 0.9 * s, y + 0.9 * s);
      disk.lineTo(x + 0.1 * s, y + 0.9 * s);
      disk.closeSubpath();
      p.setBrush(fill);
      p.drawPath(disk);
      p.setBrush(colour);
      p.drawRect(QRectF(x + 0.28 * s, y + 0.1 * s, 0.4 * s, 0.25 * s));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(x + 0.25 * s, y + 0.55 * s, 0.5 * s, 0.35 * s));
      break;
    }
    case Glyph::kPrint: {
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(x + 0.25 * s, y + 0.05 * s, 0.5 * s, 0.3 * s));
      p.setBrush(fill);
      p.drawRoundedRect(QRectF(x + 0.05 * s, y + 0.35 * s, 0.9 * s, 0.38 * s), 0.08 * s, 0.08 * s);
      p.setBrush(colour);
      p.drawRect(QRectF(x + 0.25 * s, y + 0.6 * s, 0.5 * s, 0.35 * s));
      break;
    }
    case Glyph::kPlayForward:
    case Glyph::kPlayReverse: {
      const bool forward = glyph == Glyph::kPlayForward;
      QPainterPath triangle;
      const double left = x + 0.2 * s;
      const double right = x + 0.85 * s;
      triangle.moveTo(forward ? left : right, y + 0.1 * s);
      triangle.lineTo(forward ? right : left, y + 0.5 * s);
      triangle.lineTo(forward ? left : right, y + 0.9 * s);
      triangle.closeSubpath();
      p.setBrush(colour);
      p.drawPath(triangle);
      break;
    }
    case Glyph::kShowTime: {
      p.setBrush(fill);
      p.drawEllipse(QRectF(x + 0.05 * s, y + 0.05 * s, 0.9 * s, 0.9 * s));
      p.drawLine(QPointF(x + 0.5 * s, y + 0.5 * s), QPointF(x + 0.5 * s, y + 0.2 * s));
      p.drawLine(QPointF(x + 0.5 * s, y + 0.5 * s), QPointF(x + 0.72 * s, y + 0.62 * s));
      break;
    }
    case Glyph::kMinimise: p.drawLine(QPointF(x + 0.15 * s, y + 0.8 * s), QPointF(x + 0.85 * s, y + 0.8 * s)); break;
    case Glyph::kClose:
      p.drawLine(QPointF(x + 0.18 * s, y + 0.18 * s), QPointF(x + 0.82 * s, y + 0.82 * s));
      p.drawLine(QPointF(x + 0.82 * s, y + 0.18 * s), QPointF(x + 0.18 * s, y + 0.82 * s));
      break;
  }
}

// A strip of button cells: `count` cells of `w` x `h`, cell i in ButtonCell()'s numbering.
QPixmap ButtonStrip(Glyph glyph, int w, int h, int count, double glyph_size) {
  QPixmap strip(w * count, h);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int cell = 0; cell < count; ++cell) {
    const int look = cell % 4;
    const bool on = cell >= 4;
    FaceColours face = Face(look, on);
    if (glyph == Glyph::kClose && look == 2) {
      face.top = kRed.lighter(110);
      face.bottom = kRed;
      face.border = kRed.lighter(130);
      face.glyph = Qt::white;
    }
    const QRectF r(cell * w + 0.5, 0.5, w - 1.0, h - 1.0);
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, face.top);
    gradient.setColorAt(1, face.bottom);
    p.setPen(QPen(on && look != 3 ? kAmber.darker(140) : face.border, 1));
    if (look == 1) p.setPen(QPen(kAmber, 1));
    p.setBrush(gradient);
    p.drawRoundedRect(r, 3, 3);
    if (on && look != 3) {
      // A playing button glows from inside.
      QRadialGradient glow(r.center(), r.width() / 1.5);
      QColor amber = kAmber;
      amber.setAlpha(70);
      glow.setColorAt(0, amber);
      glow.setColorAt(1, Qt::transparent);
      p.setPen(Qt::NoPen);
      p.setBrush(glow);
      p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 3, 3);
    }
    const double size = glyph_size;
    QRectF box(r.center().x() - size / 2, r.center().y() - size / 2, size, size);
    if (look == 1) box.translate(0.5, 1);
    DrawGlyph(p, box, glyph, face.glyph);
  }
  return strip;
}

QPixmap CheckBoxStrip() {
  constexpr int kCell = 16;
  QPixmap strip(kCell * 8, kCell);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int cell = 0; cell < 8; ++cell) {
    const int look = cell % 4;
    const bool on = cell >= 4;
    const FaceColours face = Face(look, false);
    const QRectF box(cell * kCell + 2.5, 2.5, 11, 11);
    QColor fill = on ? kAmber : QColor(0x1b, 0x1e, 0x23);
    QColor border = face.border;
    if (look == 2) border = kAmber.lighter(120);
    if (look == 1) fill = on ? kAmber.darker(130) : QColor(0x33, 0x39, 0x42);
    if (look == 3) {
      fill = on ? QColor(0x6b, 0x5a, 0x2c) : QColor(0x25, 0x29, 0x2f);
      border = QColor(0x30, 0x35, 0x3d);
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(box, 2, 2);
    if (on) {
      p.setPen(QPen(look == 3 ? QColor(0x30, 0x35, 0x3d) : kBackground, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPainterPath tick;
      tick.moveTo(box.x() + 2.5, box.y() + 5.5);
      tick.lineTo(box.x() + 4.8, box.y() + 8);
      tick.lineTo(box.x() + 8.8, box.y() + 3);
      p.setBrush(Qt::NoBrush);
      p.drawPath(tick);
    }
  }
  return strip;
}

// Day, drive and parking: the images of the row list, drawn for its light sheet.
QPixmap RowImages() {
  QPixmap strip(48, 16);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  // Day: a calendar leaf.
  p.setPen(QPen(QColor(0x28, 0x28, 0x28), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1.5, 2.5, 13, 12), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kAmber.darker(110));
  p.drawRect(QRectF(2, 3, 12, 3.5));
  p.setBrush(QColor(0x28, 0x28, 0x28));
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 3; ++col) p.drawRect(QRectF(4 + col * 3.3, 8.5 + row * 3, 2, 2));
  }
  // Drive: a green disc with a road arrow.
  p.setBrush(QColor(0x50, 0xa0, 0x2d));
  p.drawEllipse(QRectF(16.5, 0.5, 15, 15));
  p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath road;
  road.moveTo(20.5, 12);
  road.cubicTo(21, 6.5, 24, 6.5, 27.5, 6);
  p.drawPath(road);
  QPainterPath head;
  head.moveTo(25, 3.5);
  head.lineTo(28, 6);
  head.lineTo(25, 8.5);
  p.drawPath(head);
  // Parking: an orange sign with a P.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xfa, 0x87, 0x00));
  p.drawRoundedRect(QRectF(32.5, 0.5, 15, 15), 3, 3);
  QFont font("Liberation Sans");
  font.setBold(true);
  font.setPixelSize(12);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(32, 0, 16, 16), Qt::AlignCenter, "P");
  return strip;
}

QPixmap ThumbStrip() {
  QPixmap strip(64, 16);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor fills[4] = {kText, kAmber, Qt::white, QColor(0x4d, 0x54, 0x5e)};
  for (int cell = 0; cell < 4; ++cell) {
    const QRectF knob(cell * 16 + 2.5, 2.5, 11, 11);
    p.setPen(QPen(cell == 2 ? kAmber : kBackground, cell == 2 ? 2 : 1.2));
    p.setBrush(fills[cell]);
    p.drawEllipse(knob);
  }
  return strip;
}

QPixmap Channel(bool filled) {
  QPixmap channel(100, 6);
  channel.fill(Qt::transparent);
  QPainter p(&channel);
  p.setRenderHint(QPainter::Antialiasing);
  if (filled) {
    QLinearGradient gradient(0, 0, 0, 6);
    gradient.setColorAt(0, kAmber.lighter(120));
    gradient.setColorAt(1, kAmber.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
  } else {
    p.setPen(QPen(kFrame, 1));
    p.setBrush(QColor(0x14, 0x17, 0x1b));
  }
  p.drawRoundedRect(QRectF(0.5, 0.5, 99, 5), 2.5, 2.5);
  return channel;
}

// The program's mark: a route with a pin on a dark tile.
QPixmap Icon(int size) {
  QPixmap icon(size, size);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  p.setPen(QPen(kAmber, std::max(1.0, s / 16)));
  p.setBrush(kPanel);
  p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 5, s / 5);
  QPainterPath route;
  route.moveTo(0.18 * s, 0.82 * s);
  route.cubicTo(0.35 * s, 0.55 * s, 0.55 * s, 0.9 * s, 0.62 * s, 0.55 * s);
  p.setPen(QPen(kBlue, std::max(1.5, s / 10), Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(route);
  QPainterPath pin;
  const QPointF tip(0.62 * s, 0.55 * s);
  pin.moveTo(tip);
  pin.cubicTo(0.45 * s, 0.35 * s, 0.5 * s, 0.12 * s, 0.68 * s, 0.12 * s);
  pin.cubicTo(0.86 * s, 0.12 * s, 0.9 * s, 0.35 * s, tip.x(), tip.y());
  p.setPen(Qt::NoPen);
  p.setBrush(kAmber);
  p.drawPath(pin);
  p.setBrush(kPanel);
  p.drawEllipse(QPointF(0.68 * s, 0.27 * s), 0.07 * s, 0.07 * s);
  return icon;
}

QPixmap Make(int id) {
  switch (id) {
    case skin::kIcon: return Icon(32);
    case skin::kSmallIcon: return Icon(16);
    case skin::kOpen: return ButtonStrip(Glyph::kOpen, 33, 21, 4, 13);
    case skin::kSave: return ButtonStrip(Glyph::kSave, 33, 21, 4, 13);
    case skin::kPrint: return ButtonStrip(Glyph::kPrint, 33, 21, 4, 13);
    case skin::kPlayForward: return ButtonStrip(Glyph::kPlayForward, 34, 35, 8, 15);
    case skin::kPlayReverse: return ButtonStrip(Glyph::kPlayReverse, 34, 35, 8, 15);
    case skin::kShowTime: return ButtonStrip(Glyph::kShowTime, 36, 35, 4, 17);
    case skin::kMinimise: return ButtonStrip(Glyph::kMinimise, 22, 19, 4, 10);
    case skin::kClose: return ButtonStrip(Glyph::kClose, 22, 19, 4, 9);
    case skin::kCheckBox: return CheckBoxStrip();
    case skin::kRowImages: return RowImages();
    case skin::kThumb: return ThumbStrip();
    case skin::kChannel: return Channel(false);
    case skin::kChannelFilled: return Channel(true);
    default: return {};
  }
}

QRectF Area(const Rect& r) { return QRectF(r.x, r.y, r.width, r.height); }

void Panel(QPainter& p, const QRectF& area, double radius = 4) {
  p.setPen(QPen(kFrame, 1));
  p.setBrush(kPanel);
  p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

}  // namespace

const QPixmap& SkinBitmap(int id) {
  static QHash<int, QPixmap> made;
  auto it = made.find(id);
  if (it == made.end()) it = made.insert(id, Make(id));
  return *it;
}

QPixmap SkinBackground(const WindowLayout& l) {
  QPixmap background(l.window.width, l.window.height);
  background.fill(kBackground);
  QPainter p(&background);
  p.setRenderHint(QPainter::Antialiasing);

  // Title bar.
  QLinearGradient title(0, 0, 0, kCaptionBandHeight);
  title.setColorAt(0, QColor(0x2e, 0x34, 0x3d));
  title.setColorAt(1, QColor(0x21, 0x25, 0x2b));
  p.fillRect(QRectF(0, 0, l.window.width, kCaptionBandHeight - 2), title);
  p.setPen(QPen(kAmber.darker(160), 1));
  p.drawLine(QPointF(0, kCaptionBandHeight - 2.5), QPointF(l.window.width, kCaptionBandHeight - 2.5));

  const double left_edge = 1;
  const double left_right = l.map.x - 3;  // the left column ends just before the map

  // Tool strip: Open, Save, Print and the language box.
  Panel(p, QRectF(left_edge, 29, left_right - left_edge, l.row_list.y - 29 - 1), 3);
  p.setPen(QPen(kFrame, 1));
  p.drawLine(QPointF(l.print.right() + 6.5, l.open.y + 2), QPointF(l.print.right() + 6.5, l.open.bottom() - 2));

  // The list's frame.
  p.setPen(QPen(kFrame, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(Area(l.row_list).adjusted(-1.5, -1.5, 0.5, 0.5));

  // Information panel, from under the list to above the daylight-saving box.
  const double panel_top = l.row_list.bottom() + 4;
  const double panel_bottom = l.daylight_saving.y - 6;
  Panel(p, QRectF(left_edge, panel_top, left_right - left_edge, panel_bottom - panel_top));
  // A rule between the driving figures and the trip texts, just above "Trip Information".
  const double rule_y = l.driver.y - (l.kind == LayoutKind::kLarge ? 38 : 36);
  p.setPen(QPen(kFrame, 1));
  p.drawLine(QPointF(left_edge + 12, rule_y + 0.5), QPointF(left_right - 12, rule_y + 0.5));

  // Time zone and daylight saving.
  Panel(p, QRectF(left_edge, l.daylight_saving.y - 4, left_right - left_edge,
                  l.window.height - 2 - (l.daylight_saving.y - 4)));

  // Map frame and the replay bar under it.
  p.setPen(QPen(kFrame, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(Area(l.map).adjusted(-1.5, -1.5, 0.5, 0.5));
  const double bar_top = l.map.bottom() + 2;
  Panel(p, QRectF(l.map.x - 1, bar_top, l.window.width - 2 - (l.map.x - 1), l.window.height - 2 - bar_top), 3);
  // The slider sits in a groove of its own.
  p.setPen(QPen(kFrame, 1));
  p.setBrush(kBackground);
  p.drawRoundedRect(Area(l.slider).adjusted(-6.5, -4.5, 6.5, 4.5), 4, 4);

  // The window's edge.
  p.setPen(QPen(kFrame, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, l.window.width - 1, l.window.height - 1));
  return background;
}

QPixmap SplashPicture(const QString& title, const QString& version) {
  constexpr int kWidth = 571;
  constexpr int kHeight = 269;
  QPixmap splash(kWidth, kHeight);
  QPainter p(&splash);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, kWidth, kHeight);
  background.setColorAt(0, QColor(0x22, 0x27, 0x2e));
  background.setColorAt(1, kBackground);
  p.fillRect(splash.rect(), background);
  // A faint map grid and a drive across it.
  p.setPen(QPen(QColor(0x2c, 0x32, 0x3a), 1));
  for (int x = 0; x < kWidth; x += 24) p.drawLine(x, 0, x, kHeight);
  for (int y = 0; y < kHeight; y += 24) p.drawLine(0, y, kWidth, y);
  QPainterPath drive;
  drive.moveTo(470, 238);
  drive.cubicTo(520, 200, 470, 150, 510, 125);
  drive.cubicTo(550, 100, 500, 75, 530, 58);
  p.setPen(QPen(kBlue, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(drive);
  for (const QPointF& stop : {QPointF(470, 238), QPointF(510, 125)}) {
    p.setPen(QPen(kBackground, 2));
    p.setBrush(QColor(0xfa, 0x87, 0x00));
    p.drawEllipse(stop, 6, 6);
  }
  p.drawPixmap(QRect(515, 2, 52, 52), Icon(52));

  QFont big("Liberation Sans");
  big.setPixelSize(38);
  big.setBold(true);
  p.setFont(big);
  p.setPen(kAmber);
  p.drawText(QRect(28, 150, 520, 50), Qt::AlignLeft | Qt::AlignVCenter, title);
  QFont small("Liberation Sans");
  small.setPixelSize(14);
  p.setFont(small);
  p.setPen(kDimText);
  p.drawText(QRect(30, 200, 400, 24), Qt::AlignLeft | Qt::AlignVCenter, "V." + version);
  p.setPen(QPen(kFrame, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
  return splash;
}

}  // namespace tracker
