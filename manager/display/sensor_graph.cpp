#include "manager/display/sensor_graph.h"

#include "manager/display/qt_geometry.h"
#include "manager/display/rules/graph_mapping.h"
#include "manager/recording/samples.h"

namespace display {

void SensorTraces::Build(const recording::SensorRecord& record, const std::array<setup::GSensorAxis, 3>& axes) {
  Clear();
  if (record.noData != 0) return;
  hasTable_ = true;
  const std::uint32_t count = recording::GSensorSampleCount(record);
  std::array<TraceBuilder, 3> builders;
  for (std::uint32_t i = 0; i < count; ++i) {
    const AxisValues v = AxesOf(recording::GSensorSampleAt(record, i), axes);
    const int x = GraphX(i, count);
    builders[0].Add(x, GraphY(v.x));
    builders[1].Add(x, GraphY(v.y));
    builders[2].Add(x, GraphY(v.z));
  }
  for (std::size_t axis = 0; axis < polylines_.size(); ++axis) {
    for (const TracePoint& point : builders[axis].Finish()) polylines_[axis].append(QPoint(point.x, point.y));
  }
}

void SensorTraces::Clear() {
  hasTable_ = false;
  for (QPolygon& polyline : polylines_) polyline.clear();
}

void DrawSensorGraph(QPainter& painter, const SensorTraces& traces, std::int64_t position, std::int64_t duration) {
  if (!traces.HasTable()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  // X, Y, then Z, so the white Z trace lies on top where they cross. A single sample is only a
  // starting point: nothing to see.
  for (std::size_t axis = 0; axis < traces.Polylines().size(); ++axis) {
    if (traces.Polylines()[axis].size() < 2) continue;
    painter.setPen(QPen(ToQColor(kTraceColours[axis]), 1));
    painter.drawPolyline(traces.Polylines()[axis]);
  }
  if (const auto cursor = CursorX(position, duration)) {
    painter.setPen(QPen(ToQColor(kCursorColour), 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(*cursor, kGraphRect.top, *cursor, kCursorBottom);
  }
  painter.restore();
}

void DrawSensorReadouts(QPainter& painter, const QImage& cleanSkin, const recording::SensorRecord& record,
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
    painter.setPen(ToQColor(kReadoutColours[axis]));
    painter.drawText(QPoint(kReadoutLeft[axis], kReadoutTop + metrics.ascent()),
                     QString::fromStdString(ReadoutText(names[axis], numbers[axis])));
  }
}

}  // namespace display
