#pragma once

#include <span>
#include <string>

#include "tracker/app/rules/row_display.h"
#include "tracker/app/rules/window_layout.h"

namespace tracker {

// The selected row's figures in the information panel.
enum class PanelValue {
  kNone,  // a label
  kDistanceKm,
  kDistanceMile,
  kTotalTime,
  kStopTime,
  kAverageKmh,
  kAverageMph,
  kMaxKmh,
  kMaxMph,
};

enum class PanelAlign { kLeft, kCentre, kRight };

// One thing the panel draws: a label (a language text by item number) or a value.
struct PanelItem {
  Rect rect;
  int text_item;  // 1-24 for labels, 0 for values
  PanelValue value;
  PanelAlign align;
};

// The panel in drawing order: section titles centred, labels and units left-aligned, values
// right-aligned.
std::span<const PanelItem> PanelItems(LayoutKind kind);

// The text a value item shows for a row.
const std::string& PanelValueText(const RowDisplay& shown, PanelValue value);

// The name a value goes by in scripted checks ("distanceKm", ...).
const char* PanelValueName(PanelValue value);

}  // namespace tracker
