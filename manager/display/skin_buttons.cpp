// The button strips: one rounded key per state with a symbol a user knows from other players.
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>

#include "manager/display/rules/button_table.h"
#include "manager/display/rules/palette.h"
#include "manager/display/skin_artwork.h"

namespace display::artwork {
namespace {

using namespace palette;

enum class State { Normal, Pressed, Hover, Disabled };

struct KeyStyle {
  QColor top, bottom, border, symbol;
  double shift;  // a pressed key's symbol sinks by a pixel
};

KeyStyle StyleFor(int id, State state, bool toggled) {
  const bool primary = id == commands::kPlay;
  switch (state) {
    case State::Pressed: return {ToQColor(0x15181c), ToQColor(0x1a1e23), ToQColor(kAmber), ToQColor(kAmber), 1.0};
    case State::Hover:
      if (id == commands::kClose)
        return {ToQColor(0xe5484d), ToQColor(0xc93a3f), ToQColor(0xf07176), ToQColor(0xffffff), 0};
      return {ToQColor(0x414955), ToQColor(0x323943), ToQColor(0x737d8a),
              primary ? ToQColor(0xffc233) : ToQColor(0xffffff), 0};
    case State::Disabled: return {ToQColor(0x23272d), ToQColor(0x23272d), ToQColor(0x2e343b), ToQColor(0x4b535d), 0};
    case State::Normal:
    default:
      return {ToQColor(0x343b44), ToQColor(0x282d34), toggled ? ToQColor(kBlue) : ToQColor(0x48505b),
              primary ? ToQColor(kAmber) : (toggled ? ToQColor(0x8fbcff) : ToQColor(kText)), 0};
  }
}

// Symbols are drawn in a box of side s centred at c.
void Triangle(QPainterPath& path, QPointF c, double s, bool right) {
  const double d = right ? 1 : -1;
  path.moveTo(c + QPointF(-0.45 * s * d, -0.5 * s));
  path.lineTo(c + QPointF(0.5 * s * d, 0));
  path.lineTo(c + QPointF(-0.45 * s * d, 0.5 * s));
  path.closeSubpath();
}

void Corners(QPainter& p, QPointF c, double s, bool outward) {
  const double a = s / 2;
  const double l = s * 0.32;
  for (const QPointF corner : {QPointF(-a, -a), QPointF(a, -a), QPointF(a, a), QPointF(-a, a)}) {
    const double sx = corner.x() < 0 ? 1 : -1;
    const double sy = corner.y() < 0 ? 1 : -1;
    QPointF tip = c + corner;
    if (!outward) tip = c + corner * 0.35;
    const double ox = outward ? sx : -sx;
    const double oy = outward ? sy : -sy;
    QPainterPath path;
    path.moveTo(tip + QPointF(ox * l, 0));
    path.lineTo(tip);
    path.lineTo(tip + QPointF(0, oy * l));
    p.drawPath(path);
  }
}

void Gear(QPainter& p, QPointF c, double s, QColor colour, QColor hole) {
  QPainterPath gear;
  const int teeth = 8;
  const double outer = s * 0.5;
  const double inner = s * 0.37;
  for (int i = 0; i < teeth * 4; ++i) {
    const double angle = (i + 0.5) * M_PI * 2 / (teeth * 4);
    const double r = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
    const QPointF point = c + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    if (i == 0) {
      gear.moveTo(point);
    } else {
      gear.lineTo(point);
    }
  }
  gear.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(gear);
  p.setBrush(hole);
  p.drawEllipse(c, s * 0.15, s * 0.15);
}

void Symbol(QPainter& p, int id, bool toggled, const QRectF& key, QColor colour, QColor face) {
  const QPointF c = key.center();
  const double s = std::min(key.width(), key.height()) * 0.42;
  QPen line(colour, std::max(1.5, s * 0.14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  QPainterPath path;
  switch (id) {
    case commands::kPlay: Triangle(path, c + QPointF(s * 0.08, 0), s * 1.05, true); break;
    case commands::kPause:
      path.addRect(QRectF(c.x() - s * 0.42, c.y() - s * 0.5, s * 0.3, s));
      path.addRect(QRectF(c.x() + s * 0.12, c.y() - s * 0.5, s * 0.3, s));
      break;
    case commands::kStop: path.addRect(QRectF(c.x() - s * 0.42, c.y() - s * 0.42, s * 0.84, s * 0.84)); break;
    case commands::kStepForward:
      Triangle(path, c + QPointF(-s * 0.25, 0), s * 0.62, true);
      Triangle(path, c + QPointF(s * 0.25, 0), s * 0.62, true);
      break;
    case commands::kStepBack:
      Triangle(path, c + QPointF(s * 0.25, 0), s * 0.62, false);
      Triangle(path, c + QPointF(-s * 0.25, 0), s * 0.62, false);
      break;
    case commands::kNext:
      Triangle(path, c + QPointF(-s * 0.32, 0), s * 0.58, true);
      Triangle(path, c + QPointF(s * 0.12, 0), s * 0.58, true);
      path.addRect(QRectF(c.x() + s * 0.38, c.y() - s * 0.3, s * 0.14, s * 0.6));
      break;
    case commands::kPrevious:
      Triangle(path, c + QPointF(s * 0.32, 0), s * 0.58, false);
      Triangle(path, c + QPointF(-s * 0.12, 0), s * 0.58, false);
      path.addRect(QRectF(c.x() - s * 0.52, c.y() - s * 0.3, s * 0.14, s * 0.6));
      break;
    case commands::kMinimize: path.addRect(QRectF(c.x() - s * 0.4, c.y() + s * 0.25, s * 0.8, s * 0.14)); break;
    case commands::kClose:
      p.setPen(line);
      p.drawLine(c + QPointF(-s * 0.36, -s * 0.36), c + QPointF(s * 0.36, s * 0.36));
      p.drawLine(c + QPointF(s * 0.36, -s * 0.36), c + QPointF(-s * 0.36, s * 0.36));
      return;
    case commands::kFullScreen:
      p.setPen(line);
      p.setBrush(Qt::NoBrush);
      Corners(p, c, s * 0.9, !toggled);
      return;
    case commands::kSwap: {
      // Two screens trading places.
      p.setPen(QPen(colour, 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(c.x() - s * 0.75, c.y() - s * 0.55, s * 0.75, s * 0.55));
      p.setBrush(colour);
      p.drawRect(QRectF(c.x() + s * 0.1, c.y() + s * 0.05, s * 0.6, s * 0.45));
      p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(c.x() - s * 0.05, c.y() - s * 0.75, s * 0.7, s * 0.9), 10 * 16, 90 * 16);
      p.drawArc(QRectF(c.x() - s * 0.65, c.y() - s * 0.1, s * 0.7, s * 0.9), 190 * 16, 90 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      QPainterPath head;
      head.moveTo(c + QPointF(s * 0.5, -s * 0.2));
      head.lineTo(c + QPointF(s * 0.8, -s * 0.2));
      head.lineTo(c + QPointF(s * 0.65, -s * 0.02));
      head.closeSubpath();
      head.moveTo(c + QPointF(-s * 0.5, s * 0.2));
      head.lineTo(c + QPointF(-s * 0.8, s * 0.2));
      head.lineTo(c + QPointF(-s * 0.65, s * 0.02));
      head.closeSubpath();
      p.drawPath(head);
      return;
    }
    case commands::kSnapshot: {
      QPainterPath body;
      body.addRoundedRect(QRectF(c.x() - s * 0.75, c.y() - s * 0.4, s * 1.5, s * 1.0), s * 0.15, s * 0.15);
      body.addRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.58, s * 0.6, s * 0.2));
      p.drawPath(body);
      p.setBrush(face);
      p.drawEllipse(c + QPointF(0, s * 0.1), s * 0.33, s * 0.33);
      p.setBrush(colour);
      p.drawEllipse(c + QPointF(0, s * 0.1), s * 0.18, s * 0.18);
      return;
    }
    case commands::kPrint: {
      p.drawRect(QRectF(c.x() - s * 0.4, c.y() - s * 0.7, s * 0.8, s * 0.35));
      QPainterPath body;
      body.addRoundedRect(QRectF(c.x() - s * 0.75, c.y() - s * 0.3, s * 1.5, s * 0.7), s * 0.12, s * 0.12);
      p.drawPath(body);
      p.setBrush(face);
      p.drawRect(QRectF(c.x() - s * 0.42, c.y() + s * 0.15, s * 0.84, s * 0.2));
      p.setBrush(colour);
      p.setPen(QPen(face, 1));
      p.drawRect(QRectF(c.x() - s * 0.42, c.y() + s * 0.2, s * 0.84, s * 0.5));
      return;
    }
    case commands::kSetup: Gear(p, c, s * 1.3, colour, face); return;
    case commands::kFolder: {
      const QRectF box(key.left() + 4, key.top() + 2.5, key.width() - 8, key.height() - 5);
      QPainterPath folder;
      folder.moveTo(box.bottomLeft());
      folder.lineTo(box.left(), box.top());
      folder.lineTo(box.left() + box.width() * 0.4, box.top());
      folder.lineTo(box.left() + box.width() * 0.5, box.top() + 1.5);
      folder.lineTo(box.right(), box.top() + 1.5);
      folder.lineTo(box.bottomRight());
      folder.closeSubpath();
      p.drawPath(folder);
      return;
    }
    default: break;
  }
  p.drawPath(path);
}

}  // namespace

void PaintButtonStrip(QImage& image, int commandId, int imageWidth, int images) {
  QPainter p(&image);
  p.fillRect(image.rect(), ToQColor(kPanel));
  p.setRenderHint(QPainter::Antialiasing, true);
  const int height = image.height();
  const double radius = std::min(6.0, height / 4.0);
  for (int index = 0; index < images; ++index) {
    const bool toggled = index >= 4;
    const auto state = static_cast<State>(index % 4);
    const KeyStyle style = StyleFor(commandId, state, toggled);
    const QRectF key(index * imageWidth + 0.5, 0.5, imageWidth - 1.0, height - 1.0);
    QLinearGradient gradient(key.topLeft(), key.bottomLeft());
    gradient.setColorAt(0, style.top);
    gradient.setColorAt(1, style.bottom);
    p.setPen(QPen(style.border, 1));
    p.setBrush(gradient);
    p.drawRoundedRect(key, radius, radius);
    p.save();
    p.setClipRect(QRectF(index * imageWidth, 0, imageWidth, height));
    Symbol(p, commandId, toggled, key.translated(0, style.shift), style.symbol, style.bottom);
    p.restore();
  }
}

}  // namespace display::artwork
