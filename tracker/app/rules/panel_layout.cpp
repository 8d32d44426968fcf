#include "tracker/app/rules/panel_layout.h"

#include <array>

namespace tracker {

namespace {

using enum PanelValue;

constexpr PanelItem Title(int item, Rect rect) { return {rect, item, kNone, PanelAlign::kCentre}; }
constexpr PanelItem Label(int item, Rect rect) { return {rect, item, kNone, PanelAlign::kLeft}; }
constexpr PanelItem Value(PanelValue value, Rect rect) { return {rect, 0, value, PanelAlign::kRight}; }

// Text items: 7 Driving Information, 8 Total Distance, 9 Driving Time, 10 Stopped Duration,
// 11 Average Speed, 12 Maximum Speed, 13 Trip Information, 14 km/h, 15 mile/h, 16 hh/mm/ss,
// 17 km, 18 mile, 2 Driver, 3 Purpose, 4 Memo.
constexpr std::array kLargePanel = {
    Title(7, FromEdges(20, 318, 150, 334)),
    Label(8, FromEdges(38, 352, 145, 368)),
    Value(kDistanceKm, FromEdges(151, 348, 249, 370)),
    Label(17, FromEdges(257, 352, 328, 374)),
    Value(kDistanceMile, FromEdges(151, 373, 249, 395)),
    Label(18, FromEdges(257, 377, 328, 399)),
    Label(9, FromEdges(38, 402, 145, 418)),
    Value(kTotalTime, FromEdges(151, 399, 249, 421)),
    Label(16, FromEdges(257, 403, 355, 425)),
    Label(10, FromEdges(38, 429, 145, 445)),
    Value(kStopTime, FromEdges(151, 424, 249, 446)),
    Label(16, FromEdges(257, 427, 355, 449)),
    Label(11, FromEdges(38, 456, 145, 472)),
    Value(kAverageKmh, FromEdges(151, 450, 249, 472)),
    Label(14, FromEdges(257, 453, 355, 475)),
    Value(kAverageMph, FromEdges(151, 476, 249, 498)),
    Label(15, FromEdges(257, 479, 355, 501)),
    Label(12, FromEdges(38, 506, 145, 522)),
    Value(kMaxKmh, FromEdges(151, 502, 249, 524)),
    Label(14, FromEdges(257, 505, 355, 527)),
    Value(kMaxMph, FromEdges(151, 527, 249, 549)),
    Label(15, FromEdges(257, 530, 355, 552)),
    Title(13, FromEdges(20, 560, 150, 576)),
    Label(2, FromEdges(29, 591, 136, 607)),
    Label(3, FromEdges(29, 618, 136, 634)),
    Label(4, FromEdges(29, 643, 136, 659)),
};

constexpr std::array kSmallPanel = {
    Title(7, FromEdges(20, 207, 150, 223)),
    Label(8, FromEdges(38, 234, 145, 251)),
    Value(kDistanceKm, FromEdges(149, 233, 230, 250)),
    Label(17, FromEdges(240, 234, 308, 251)),
    Value(kDistanceMile, FromEdges(149, 255, 230, 272)),
    Label(18, FromEdges(240, 256, 308, 273)),
    Label(9, FromEdges(38, 278, 145, 295)),
    Value(kTotalTime, FromEdges(149, 277, 230, 294)),
    Label(16, FromEdges(240, 278, 308, 295)),
    Label(10, FromEdges(38, 300, 145, 317)),
    Value(kStopTime, FromEdges(149, 299, 230, 316)),
    Label(16, FromEdges(240, 300, 308, 317)),
    Label(11, FromEdges(38, 322, 145, 339)),
    Value(kAverageKmh, FromEdges(149, 321, 230, 338)),
    Label(14, FromEdges(240, 322, 308, 339)),
    Value(kAverageMph, FromEdges(149, 343, 230, 360)),
    Label(15, FromEdges(240, 344, 308, 361)),
    Label(12, FromEdges(38, 366, 145, 383)),
    Value(kMaxKmh, FromEdges(149, 365, 230, 382)),
    Label(14, FromEdges(240, 366, 308, 383)),
    Value(kMaxMph, FromEdges(149, 387, 230, 404)),
    Label(15, FromEdges(240, 388, 308, 405)),
    Title(13, FromEdges(20, 418, 150, 434)),
    Label(2, FromEdges(29, 448, 136, 464)),
    Label(3, FromEdges(29, 475, 136, 491)),
    Label(4, FromEdges(29, 501, 136, 517)),
};

}  // namespace

std::span<const PanelItem> PanelItems(LayoutKind kind) {
  if (kind == LayoutKind::kLarge) return kLargePanel;
  return kSmallPanel;
}

const std::string& PanelValueText(const RowDisplay& shown, PanelValue value) {
  static const std::string kNothing;
  switch (value) {
    case kDistanceKm: return shown.distance_km;
    case kDistanceMile: return shown.distance_miles;
    case kTotalTime: return shown.driving_time;
    case kStopTime: return shown.parking_duration;
    case kAverageKmh: return shown.average_kmh;
    case kAverageMph: return shown.average_mph;
    case kMaxKmh: return shown.max_kmh;
    case kMaxMph: return shown.max_mph;
    case kNone: break;
  }
  return kNothing;
}

const char* PanelValueName(PanelValue value) {
  switch (value) {
    case kDistanceKm: return "distanceKm";
    case kDistanceMile: return "distanceMile";
    case kTotalTime: return "totalTime";
    case kStopTime: return "stopTime";
    case kAverageKmh: return "averageKmh";
    case kAverageMph: return "averageMph";
    case kMaxKmh: return "maxKmh";
    case kMaxMph: return "maxMph";
    case kNone: break;
  }
  return "";
}

}  // namespace tracker
