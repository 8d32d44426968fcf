#pragma once

#include <cstdint>

namespace display {

// The colours both programs share (0xRRGGBB), and the few the window's own layout fixes.
namespace palette {
inline constexpr std::uint32_t kBackground = 0x1b1e23;
inline constexpr std::uint32_t kPanel = 0x252a31;
inline constexpr std::uint32_t kFrame = 0x3a414b;
inline constexpr std::uint32_t kText = 0xd8dde3;
inline constexpr std::uint32_t kDimText = 0x8a939e;
inline constexpr std::uint32_t kAmber = 0xf2a900;
inline constexpr std::uint32_t kBlue = 0x3d8bfd;
inline constexpr std::uint32_t kRed = 0xe5484d;
inline constexpr std::uint32_t kGreen = 0x30a46c;

// The data labels' brush and the recording list's colours.
inline constexpr std::uint32_t kDataLabelBackground = 0x2c2c2c;  // RGB(44, 44, 44)
inline constexpr std::uint32_t kListBackground = 0x3f3f3f;       // RGB(63, 63, 63)
inline constexpr std::uint32_t kListText = 0xa2a2a2;             // RGB(162, 162, 162)
inline constexpr std::uint32_t kWhite = 0xffffff;
inline constexpr std::uint32_t kFixRed = 0xff0000;  // the GPS label while the receiver has a fix
}  // namespace palette

}  // namespace display
