#pragma once

// The display rules speak in plain rectangles and 0xRRGGBB colours; the widgets in Qt's types.
#include <QColor>
#include <QRect>

#include <cstdint>

#include "manager/display/rules/display_rect.h"

namespace display {

inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

inline QColor ToQColor(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

}  // namespace display
