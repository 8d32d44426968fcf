#include "tracker/map/map_placeholder.h"

#include <QJsonArray>
#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "tracker/map/polyline.h"

namespace tracker {

namespace {

const QColor kBackground(0x1b, 0x1e, 0x23);
const QColor kGrid(0x25, 0x2a, 0x31);
const QColor kFrame(0x3a, 0x41, 0x4b);
const QColor kText(0xd8, 0xdd, 0xe3);
const QColor kAmber(0xf2, 0xa9, 0x00);
const QColor kBlue(0x3d, 0x8b, 0xfd);
const QColor kRed(0xe5, 0x48, 0x4d);
const QColor kGreen(0x30, 0xa4, 0x6c);

double Number(const QString& text) {
  bool ok = false;
  const double value = text.toDouble(&ok);
  return ok ? value : 0.0;
}

}  // namespace

MapArea* CreateMapArea(QWidget* parent, const QRect& geometry) {
  auto* area = new MapPlaceholder(parent);
  area->setGeometry(geometry);
  return area;
}

MapPlaceholder::MapPlaceholder(QWidget* parent) : MapArea(parent) {
  setObjectName("MyBrowserView");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QString MapPlaceholder::Value(const PageCall& call, const char* id) const {
  for (const auto& [key, text] : call.values) {
    if (key == id) return QString::fromStdString(text);
  }
  return {};
}

void MapPlaceholder::LoadPage(int language_index) {
  ++version_;
  language_ = language_index;
  route_.clear();
  has_marker_ = false;
  start_time_.clear();
  end_time_.clear();
  update();
}

void MapPlaceholder::Call(const PageCall& call) {
  ++calls_;
  ++version_;
  last_trigger_ = QString::fromStdString(call.trigger);
  if (call.trigger == "init_data" || call.trigger == "init_data_no_line") {
    with_line_ = call.trigger == "init_data";
    route_ = DecodePolyline(Value(call, "map_path").toStdString());
    start_time_ = Value(call, "start_time");
    end_time_ = Value(call, "end_time");
  } else if (call.trigger == "map_pointmove") {
    has_marker_ = true;
    marker_ = {Number(Value(call, "map_latitude")), Number(Value(call, "map_longitude"))};
    marker_time_ = Value(call, "map_day") + ' ' + Value(call, "map_time");
    show_time_ = Value(call, "map_showtime") == "1";
  } else if (call.trigger == "onChangeLanguage") {
    const QString code = Value(call, "map_language");
    if (!code.isEmpty()) language_ = code.at(0).unicode() - '0';
  }
  update();
}

QJsonObject MapPlaceholder::State() const {
  QJsonObject state;
  state["host"] = "placeholder";
  state["language"] = language_;
  state["routeVertices"] = static_cast<int>(route_.size());
  state["withLine"] = with_line_;
  state["lastTrigger"] = last_trigger_;
  state["calls"] = calls_;
  if (has_marker_) state["marker"] = QJsonArray{marker_.latitude, marker_.longitude};
  return state;
}

void MapPlaceholder::paintEvent(QPaintEvent* event) {
  // The picture changes only with a call; a paint copies it.
  if (picture_.size() != size() || picture_version_ != version_) {
    picture_ = QPixmap(size());
    QPainter painter(&picture_);
    Draw(painter);
    picture_version_ = version_;
  }
  QPainter(this).drawPixmap(event->rect(), picture_, event->rect());
}

void MapPlaceholder::Draw(QPainter& painter) {
  painter.fillRect(rect(), kBackground);
  painter.setPen(kGrid);
  for (int x = 0; x < width(); x += 40) painter.drawLine(x, 0, x, height());
  for (int y = 0; y < height(); y += 40) painter.drawLine(0, y, width(), y);
  painter.setPen(kFrame);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));

  if (route_.empty() && !has_marker_) return;

  // Fit the route and the marker into the area with a margin, keeping the ground's proportions
  // (a degree of longitude shrinks with the cosine of the latitude).
  double min_lat = 90, max_lat = -90, min_lng = 180, max_lng = -180;
  auto take = [&](const RoutePoint& p) {
    min_lat = std::min(min_lat, p.latitude);
    max_lat = std::max(max_lat, p.latitude);
    min_lng = std::min(min_lng, p.longitude);
    max_lng = std::max(max_lng, p.longitude);
  };
  for (const RoutePoint& p : route_) take(p);
  if (has_marker_) take(marker_);
  const double squeeze = std::cos((min_lat + max_lat) / 2 * M_PI / 180.0);
  const double span_x = std::max((max_lng - min_lng) * squeeze, 1e-4);
  const double span_y = std::max(max_lat - min_lat, 1e-4);
  const QRectF area = QRectF(rect()).adjusted(30, 30, -30, -50);
  const double scale = std::min(area.width() / span_x, area.height() / span_y);
  const QPointF centre = area.center();
  const double mid_x = (min_lng + max_lng) / 2 * squeeze;
  const double mid_y = (min_lat + max_lat) / 2;
  auto at = [&](const RoutePoint& p) {
    return QPointF(centre.x() + (p.longitude * squeeze - mid_x) * scale, centre.y() - (p.latitude - mid_y) * scale);
  };

  painter.setRenderHint(QPainter::Antialiasing);
  if (route_.size() > 1 && with_line_) {
    // A day's route holds thousands of points; those within a pixel of the last one drawn add
    // nothing but time.
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(route_.size()));
    for (const RoutePoint& point : route_) {
      const QPointF p = at(point);
      if (line.isEmpty() || std::abs(p.x() - line.back().x()) + std::abs(p.y() - line.back().y()) >= 1.5) line.append(p);
    }
    line.append(at(route_.back()));
    painter.setPen(QPen(kBlue, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setRenderHint(QPainter::Antialiasing, false);  // several times faster on long routes
    painter.drawPolyline(line);
    painter.setRenderHint(QPainter::Antialiasing);
  } else {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBlue);
    for (const RoutePoint& p : route_) painter.drawEllipse(at(p), 3, 3);
  }
  auto pin = [&](const RoutePoint& p, const QColor& colour) {
    painter.setPen(QPen(kBackground, 2));
    painter.setBrush(colour);
    painter.drawEllipse(at(p), 6, 6);
  };
  if (!route_.empty()) {
    pin(route_.front(), kGreen);
    pin(route_.back(), kRed);
  }
  if (has_marker_) {
    pin(marker_, kAmber);
    if (show_time_) {
      painter.setPen(kAmber);
      painter.drawText(at(marker_) + QPointF(10, -8), marker_time_);
    }
  }

  painter.setPen(kText);
  const QRect legend = rect().adjusted(12, 0, -12, -10);
  if (!start_time_.isEmpty()) {
    painter.drawText(legend, Qt::AlignLeft | Qt::AlignBottom, start_time_ + QString::fromUtf8("  \u2192  ") + end_time_);
  }
}

}  // namespace tracker
