#pragma once

#include <array>
#include <optional>

#include "manager/display/display_rect.h"

namespace display {

struct PictureSize {
  int width = 0;
  int height = 0;
};

// The normal layout's fixed places.
inline constexpr Rect kNormalVideoArea{25, 60, 665, 540};  // the large video window, 640 x 480
inline constexpr Rect kSmallVideoArea{679, 252, 999, 492};  // the small one, 320 x 240
inline constexpr int kNormalWidth = 1024;
inline constexpr int kNormalHeight = 768;

// The window's top-left corner on a desktop: centred, negative on a small desktop.
std::array<int, 2> CentredOrigin(int desktopWidth, int desktopHeight);

// Where the video may go in the full-screen layout of a W x H screen.
Rect FullScreenVideoArea(int screenWidth, int screenHeight);
// The full-screen position bar and the rectangle of the time text beside it.
Rect FullScreenPositionBar(int screenWidth, int screenHeight);
Rect FullScreenTimeTextRect(const Rect& bar);

// The largest whole multiple of the picture's aspect step (16 x 9 for a 720-line picture,
// otherwise 4 x 3, also when the size is not known) that fits the area, at least one step,
// centred in it.
Rect FitVideo(const Rect& area, std::optional<PictureSize> picture);

// The channel (0 front, 1 rear) the full-screen layout shows: the rear only when the channels
// are swapped and the recording has a rear file, so channel 1 never plays hidden behind a black one.
int FullScreenChannel(bool swapped, bool hasRearFile);

// The transport and title buttons that move between the two layouts.
struct ButtonPlace {
  int id = 0;
  Rect rect;
};
inline constexpr int kMovingButtonCount = 10;
std::array<ButtonPlace, kMovingButtonCount> NormalButtonPlaces();
std::array<ButtonPlace, kMovingButtonCount> FullScreenButtonPlaces(int screenWidth, int screenHeight);

}  // namespace display
