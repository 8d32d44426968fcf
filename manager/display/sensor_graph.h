#pragma once

#include <QImage>
#include <QPainter>

#include <array>
#include <cstdint>

#include "manager/recording/sensor_record.h"
#include "manager/setup/profile.h"

namespace display {

// The three G-sensor traces over the whole recording and the cursor at `position`; nothing
// without a sample table, no cursor without a duration.
void DrawSensorGraph(QPainter& painter, const recording::MVOXUDAT& record, std::int64_t position,
                     std::int64_t duration, const std::array<setup::GSensorAxis, 3>& axes);

// The three numbers of the sample at `position`, over their strip restored from `cleanSkin`;
// nothing when there is no sample or a value lies outside +-2 g.
void DrawSensorReadouts(QPainter& painter, const QImage& cleanSkin, const recording::MVOXUDAT& record,
                        std::int64_t position, const std::array<setup::GSensorAxis, 3>& axes);

}  // namespace display
