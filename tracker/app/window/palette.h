#pragma once

#include <QColor>

namespace tracker::palette {

// The dark family both programs share.
inline const QColor kBackground{0x1b, 0x1e, 0x23};
inline const QColor kPanel{0x25, 0x2a, 0x31};
inline const QColor kFrame{0x3a, 0x41, 0x4b};
inline const QColor kText{0xd8, 0xdd, 0xe3};
inline const QColor kDimText{0x8a, 0x93, 0x9e};
inline const QColor kAmber{0xf2, 0xa9, 0x00};
inline const QColor kBlue{0x3d, 0x8b, 0xfd};
inline const QColor kRed{0xe5, 0x48, 0x4d};
inline const QColor kGreen{0x30, 0xa4, 0x6c};

// The row list is a light sheet in the dark window, so the rows' own colours (dark grey
// days, green drives, orange parking) stay readable.
inline const QColor kListBase{0xe6, 0xe9, 0xed};
inline const QColor kListAlternate{0xdc, 0xe0, 0xe5};
inline const QColor kListGrid{0xbf, 0xc5, 0xcc};

// The title bar's text.
inline const QColor kTitle{0xff, 0xff, 0x00};

}  // namespace tracker::palette
