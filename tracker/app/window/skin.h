#pragma once

#include <QPixmap>
#include <QString>

#include "tracker/app/rules/window_layout.h"

namespace tracker {

// The tracker's artwork, drawn by our own code at the sizes the window expects and looked up
// by its resource numbers:
//   2500, 2501  program icon, 32 and 16 pixels
//   2502 Open, 2503 Save, 2506 Print (33 x 21 cells); 2613 Minimise, 2614 Close (22 x 19)
//   2504 Play forward, 2507 Play reverse (34 x 35, eight cells); 2508 Show time (36 x 35)
//   2615 check box (16-pixel cells, eight); 2611 the list's day, drive and parking images
//   2616 slider thumb (four 16 x 16 cells); 2617 slider channel; 2618 its filled part
// Strips hold their cells side by side; see skin_cells.h for which cell is which look.
namespace skin {
inline constexpr int kIcon = 2500;
inline constexpr int kSmallIcon = 2501;
inline constexpr int kOpen = 2502;
inline constexpr int kSave = 2503;
inline constexpr int kPlayForward = 2504;
inline constexpr int kPrint = 2506;
inline constexpr int kPlayReverse = 2507;
inline constexpr int kShowTime = 2508;
inline constexpr int kSplash = 2510;
inline constexpr int kRowImages = 2611;
inline constexpr int kLargeBackground = 2612;
inline constexpr int kMinimise = 2613;
inline constexpr int kClose = 2614;
inline constexpr int kCheckBox = 2615;
inline constexpr int kThumb = 2616;
inline constexpr int kChannel = 2617;
inline constexpr int kChannelFilled = 2618;
inline constexpr int kSmallBackground = 2619;
}  // namespace skin

// A bitmap by resource number (null for an unknown one). Made once, then shared.
const QPixmap& SkinBitmap(int id);

// The window's background for a layout: title bar, frames and panels around the controls.
QPixmap SkinBackground(const WindowLayout& layout);

// The splash picture (571 x 269) with the build's title words and version.
QPixmap SplashPicture(const QString& title, const QString& version);

}  // namespace tracker
