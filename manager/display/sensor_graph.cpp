#include "manager/display/sensor_graph.h"

#include <QPolygon>

#include "manager/display/graph_mapping.h"
#include "manager/recording/samples.h"

namespace display {
namespace {

QColor Colour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

}  // namespace

void DrawSensorGraph(QPainter& painter, const recording::MVOXUDAT& record, std::int64_t position,
                     std::int64_t duration, const std::array<setup::GSensorAxis, 3>& axes) {
  const std::uint32_t count = recording::GSensorSampleCount(record);
  if (count == 0) return;
  std::array<QPolygon, 3> traces;
  for (QPolygon& trace : traces) trace.resize(static_cast<int>(count));
  for (std::uint32_t i = 0; i < count; ++i) {
    const AxisValues v = AxesOf(recording::GSensorSampleAt(record, i), axes);
    const int x = GraphX(i, count);
    traces[0][static_cast<int>(i)] = QPoint(x, GraphY(v.x));
    traces[1][static_cast<int>(i)] = QPoint(x, GraphY(v.y));
    traces[2][static_cast<int>(i)] = QPoint(x, GraphY(v.z));
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  // X, Y, then Z, so the white Z trace lies on top where they cross.
  for (std::size_t axis = 0; axis < traces.size(); ++axis) {
    painter.setPen(QPen(Colour(kTraceColours[axis]), 1));
    painter.drawPolyline(traces[axis]);
  }
  if (const auto cursor = CursorX(position, duration)) {
    painter.setPen(QPen(Colour(kCursorColour), 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(*cursor, kGraphRect.top, *cursor, kCursorBottom);
  }
  painter.restore();
}

void DrawSensorReadouts(QPainter& painter, const QImage& cleanSkin, const recording::MVOXUDAT& record,
                        std::int64_t position, const std::array<setup::GSensorAxis, 3>& axes) {
  const auto sample = recording::FindGSensorSample(record, position);
  if (!sample) return;
  const AxisValues values = AxesOf(*sample, axes);
  if (!ReadoutsShown(values)) return;
  const QRect strip(kReadoutStrip.left, kReadoutStrip.top, kReadoutStrip.Width(), kReadoutStrip.Height());
  painter.drawImage(strip.topLeft(), cleanSkin, strip);
  const std::array<double, 3> numbers = {values.x, values.y, values.z};
  const char names[] = {'X', 'Y', 'Z'};
  const QFontMetrics metrics = painter.fontMetrics();
  for (std::size_t axis = 0; axis < numbers.size(); ++axis) {
    painter.setPen(Colour(kReadoutColours[axis]));
    painter.drawText(QPoint(kReadoutLeft[axis], kReadoutTop + metrics.ascent()),
                     QString::fromStdString(ReadoutText(names[axis], numbers[axis])));
  }
}

}  // namespace display
