#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "manager/display/rules/window_layout.h"
#include "manager/recording/samples.h"
#include "manager/setup/profile.h"

namespace display {

// The G-sensor graph below the large video window: three axes over the whole recording and a
// cursor at the playback position. Zero is at y 606, 1 g is 28 pixels, values are clamped to
// +-2 g; positive values go up.
inline constexpr int kGraphWidth = 367;
inline constexpr int kGraphZeroY = 606;
inline constexpr int kCursorBottom = 662;

int GraphY(double value);
// Sample i of n: 0 at the left edge, the last just left of the right edge.
int GraphX(std::uint32_t index, std::uint32_t count);
// The cursor's column; none while no duration is known.
std::optional<int> CursorX(std::int64_t position, std::int64_t duration);

// A trace as a polyline through one point per sample draws, in each pixel column, the span
// between the column's lowest and highest point and the joins to its neighbours. The builder
// keeps only what draws those pixels: per column the first point, the extremes and the last,
// so an hour of samples is a few points per column.
struct TracePoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TracePoint&, const TracePoint&) = default;
};

class TraceBuilder {
 public:
  // Points arrive in sample order; x never decreases.
  void Add(int x, int y);
  // The polyline so far, and a fresh start.
  std::vector<TracePoint> Finish();

 private:
  void FlushColumn();
  void Emit(int x, int y);

  bool open_ = false;
  int x_ = 0;
  int first_ = 0;
  int low_ = 0;
  int high_ = 0;
  int last_ = 0;
  bool endsStill_ = false;  // the last two points were the same
  std::vector<TracePoint> points_;
};

struct AxisValues {
  double x = 0;
  double y = 0;
  double z = 0;
};

// A stored sample as the axes it shows: the profile says which stored value is which axis.
AxisValues AxesOf(const recording::GSensorSample& sample, const std::array<setup::GSensorAxis, 3>& storedAs);

// Readouts are drawn only when every axis lies within +-2 g.
bool ReadoutsShown(const AxisValues& values);
// "X :  0.5" or "X : -0.5": the sign has its own place, one decimal.
std::string ReadoutText(char axis, double value);

// Readout places (top-left); the strip they are drawn in is kReadoutStrip.
inline constexpr int kReadoutTop = 663;
inline constexpr std::array<int, 3> kReadoutLeft = {80, 180, 280};

// Trace and readout colours (0xRRGGBB) of the axes X, Y, Z.
inline constexpr std::array<std::uint32_t, 3> kTraceColours = {0xff1b26, 0x007e00, 0xffffff};
inline constexpr std::array<std::uint32_t, 3> kReadoutColours = {0xffffff, 0xff1b26, 0x007e00};
inline constexpr std::uint32_t kCursorColour = 0x5a5a5a;

}  // namespace display
