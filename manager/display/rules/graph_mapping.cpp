#include "manager/display/rules/graph_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace display {

int GraphY(double value) {
  // A value that is not a number has no place on the scale: it sits on the zero line.
  if (std::isnan(value)) return kGraphZeroY;
  const double clamped = value > 2.0 ? 2.0 : (value < -2.0 ? -2.0 : value);
  const int y = static_cast<int>(std::trunc(606.0 - (clamped * 0.5) * 56.0));
  return y < kGraphRect.top ? kGraphZeroY : y;
}

int GraphX(std::uint32_t index, std::uint32_t count) {
  if (count == 0) return kGraphRect.left;
  return static_cast<int>(std::trunc(static_cast<double>(index) / count * kGraphWidth + kGraphRect.left));
}

std::optional<int> CursorX(std::int64_t position, std::int64_t duration) {
  if (duration == 0) return std::nullopt;
  return static_cast<int>(
      std::trunc(static_cast<double>(position) / static_cast<double>(duration) * kGraphWidth + kGraphRect.left));
}

void TraceBuilder::Add(int x, int y) {
  endsStill_ = open_ && x == x_ && y == last_;
  if (open_ && x == x_) {
    low_ = std::min(low_, y);
    high_ = std::max(high_, y);
    last_ = y;
    return;
  }
  FlushColumn();
  open_ = true;
  x_ = x;
  first_ = low_ = high_ = last_ = y;
}

void TraceBuilder::Emit(int x, int y) {
  if (!points_.empty() && points_.back() == TracePoint{x, y}) return;
  points_.push_back({x, y});
}

void TraceBuilder::FlushColumn() {
  if (!open_) return;
  // First to one extreme, across to the other, back to the last: the column's whole span.
  Emit(x_, first_);
  if (first_ - low_ <= high_ - first_) {
    Emit(x_, low_);
    Emit(x_, high_);
  } else {
    Emit(x_, high_);
    Emit(x_, low_);
  }
  Emit(x_, last_);
  open_ = false;
}

std::vector<TracePoint> TraceBuilder::Finish() {
  FlushColumn();
  // A polyline that ends on a segment of no length leaves its end pixel out; keep that ending.
  if (endsStill_) points_.push_back(points_.back());
  endsStill_ = false;
  return std::exchange(points_, {});
}

AxisValues AxesOf(const recording::GSensorSample& sample, const std::array<setup::GSensorAxis, 3>& storedAs) {
  AxisValues values;
  for (std::size_t i = 0; i < storedAs.size(); ++i) {
    const double v = sample.values[i];
    switch (storedAs[i]) {
      case setup::GSensorAxis::X: values.x = v; break;
      case setup::GSensorAxis::Y: values.y = v; break;
      case setup::GSensorAxis::Z: values.z = v; break;
    }
  }
  return values;
}

bool ReadoutsShown(const AxisValues& values) {
  for (const double v : {values.x, values.y, values.z}) {
    if (!(v >= -2.0 && v <= 2.0)) return false;
  }
  return true;
}

std::string ReadoutText(char axis, double value) {
  char text[32];
  // A negative zero prints without its sign on the positive side.
  if (value >= 0.0) {
    std::snprintf(text, sizeof text, "%c :  %.1f", axis, std::fabs(value));
  } else {
    std::snprintf(text, sizeof text, "%c : -%.1f", axis, -value);
  }
  return text;
}

}  // namespace display
