#pragma once

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <array>
#include <cstdint>

#include "manager/recording/sensor_record.h"
#include "manager/setup/profile.h"

namespace display {

// The three G-sensor traces of the open recording (X, Y, Z), mapped once when it opens, so that
// the frequent repaints of the cursor do not read every sample again.
class SensorTraces {
 public:
  void Build(const recording::SensorRecord& record, const std::array<setup::GSensorAxis, 3>& axes);
  void Clear();
  // The recording has a sample table (perhaps an empty one).
  bool HasTable() const { return hasTable_; }
  const std::array<QPolygon, 3>& Polylines() const { return polylines_; }

 private:
  bool hasTable_ = false;
  std::array<QPolygon, 3> polylines_;
};

// The traces and the cursor at `position`; nothing without a sample table, no cursor without a
// duration.
void DrawSensorGraph(QPainter& painter, const SensorTraces& traces, std::int64_t position, std::int64_t duration);

// The three numbers of the sample at `position`, over their strip restored from `cleanSkin`;
// nothing when there is no sample or a value lies outside +-2 g.
void DrawSensorReadouts(QPainter& painter, const QImage& cleanSkin, const recording::SensorRecord& record,
                        std::int64_t position, const std::array<setup::GSensorAxis, 3>& axes);

}  // namespace display
