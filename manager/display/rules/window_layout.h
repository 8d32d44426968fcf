#pragma once

#include <array>

#include "manager/display/rules/display_rect.h"

// Every place on the main window's skin, in one table: the normal layout is a fixed 1024 x 768
// picture, the full-screen layout follows the screen. Change a place here and the controls, the
// painting and the repaints all follow.
namespace display {

// The ids of the main window's labels, list and video windows.
namespace controls {
inline constexpr int kRecordingList = 1016;
inline constexpr int kDateCaption = 1017;
inline constexpr int kListCaption = 1018;
inline constexpr int kTimeCaption = 1019;
inline constexpr int kCauseCaption = 1020;
inline constexpr int kGpsStatus = 1025;
inline constexpr int kVersion = 1071;
inline constexpr int kFileName = 1073;
inline constexpr int kSpeed = 1075;
inline constexpr int kLatitude = 1077;
inline constexpr int kLongitude = 1078;
inline constexpr int kSpeedMiles = 1079;
inline constexpr int kLargeVideo = 1129;
inline constexpr int kSmallVideo = 1090;
}  // namespace controls

// The main window's command ids; each is also the id of the button that sends it.
namespace commands {
inline constexpr int kFullScreen = 1112;
inline constexpr int kMinimize = 1113;
inline constexpr int kClose = 1114;
inline constexpr int kStepForward = 1115;
inline constexpr int kNext = 1116;
inline constexpr int kPause = 1117;
inline constexpr int kPlay = 1118;
inline constexpr int kStepBack = 1119;
inline constexpr int kPrevious = 1120;
inline constexpr int kStop = 1121;
inline constexpr int kFolder = 1122;
inline constexpr int kSnapshot = 1123;
inline constexpr int kPrint = 1124;
inline constexpr int kSetup = 1125;
inline constexpr int kSwap = 1128;
}  // namespace commands

// ---- The normal layout ----

inline constexpr int kNormalWidth = 1024;
inline constexpr int kNormalHeight = 768;
// The top band by which the borderless window is moved (and double-clicked to full screen).
inline constexpr int kTitleBandHeight = 55;
inline constexpr int kLogoLeft = 20;

// The video windows and the recording list.
inline constexpr Rect kNormalVideoArea{25, 60, 665, 540};   // the large video window, 640 x 480
inline constexpr Rect kSmallVideoArea{679, 252, 999, 492};  // the small one, 320 x 240
inline constexpr Rect kRecordingListArea = Rect::FromSize(675, 98, 328, 144);

struct ButtonPlace {
  int id = 0;
  Rect rect;
};
// Every button's place in the normal layout; the first ten move in full screen.
inline constexpr int kMovingButtonCount = 10;
inline constexpr std::array<ButtonPlace, 15> kNormalButtonPlaces = {{
    {commands::kMinimize, Rect::FromSize(894, 5, 37, 45)},
    {commands::kFullScreen, Rect::FromSize(934, 5, 37, 45)},
    {commands::kClose, Rect::FromSize(974, 5, 37, 45)},
    {commands::kPrevious, Rect::FromSize(183, 718, 34, 32)},
    {commands::kStepBack, Rect::FromSize(222, 718, 34, 32)},
    {commands::kPause, Rect::FromSize(261, 718, 34, 32)},
    {commands::kPlay, Rect::FromSize(300, 712, 51, 45)},
    {commands::kStepForward, Rect::FromSize(356, 718, 34, 32)},
    {commands::kNext, Rect::FromSize(395, 718, 34, 32)},
    {commands::kStop, Rect::FromSize(434, 718, 34, 32)},
    {commands::kPrint, Rect::FromSize(567, 717, 36, 33)},
    {commands::kSnapshot, Rect::FromSize(520, 717, 36, 33)},
    {commands::kSetup, Rect::FromSize(615, 713, 54, 41)},
    {commands::kFolder, Rect::FromSize(795, 60, 19, 13)},
    {commands::kSwap, Rect::FromSize(475, 716, 36, 33)},
}};
// The normal place of a button; empty for an id without one.
constexpr Rect NormalButtonRect(int id) {
  for (const ButtonPlace& place : kNormalButtonPlaces) {
    if (place.id == id) return place.rect;
  }
  return {};
}

// The labels: captions (12 px), the GPS status (12 px) and the data labels (10 px, on the
// panel's colour), in creation order.
enum class LabelStyle { Caption, GpsStatus, Data };
struct LabelPlace {
  int id = 0;
  Rect rect;
  LabelStyle style = LabelStyle::Caption;
};
inline constexpr std::array<LabelPlace, 11> kLabelPlaces = {{
    {controls::kListCaption, Rect::FromSize(677, 60, 200, 20), LabelStyle::Caption},
    {controls::kDateCaption, Rect::FromSize(720, 80, 107, 20), LabelStyle::Caption},
    {controls::kTimeCaption, Rect::FromSize(817, 80, 95, 20), LabelStyle::Caption},
    {controls::kCauseCaption, Rect::FromSize(905, 80, 105, 20), LabelStyle::Caption},
    {controls::kVersion, Rect::FromSize(30, 725, 200, 20), LabelStyle::Caption},
    {controls::kGpsStatus, Rect::FromSize(370, 669, 70, 12), LabelStyle::GpsStatus},
    {controls::kFileName, Rect::FromSize(460, 550, 200, 24), LabelStyle::Data},
    {controls::kSpeed, Rect::FromSize(460, 577, 100, 16), LabelStyle::Data},
    {controls::kSpeedMiles, Rect::FromSize(560, 577, 100, 16), LabelStyle::Data},
    {controls::kLatitude, Rect::FromSize(460, 594, 200, 16), LabelStyle::Data},
    {controls::kLongitude, Rect::FromSize(460, 611, 200, 16), LabelStyle::Data},
}};

// The drawn sliders: the position bar (its thumb's offset 0..600 from the bar's left end) and
// the rate and volume bars (offsets 0..145 from kSliderLeft).
inline constexpr int kPositionBarLeft = 70;
inline constexpr int kPositionBarWidth = 600;  // offset 600 is the end of the recording
inline constexpr int kSliderLeft = 488;
inline constexpr int kThumbWidth = 5;
inline constexpr Rect kPositionBar{70, 684, 670, 695};
inline constexpr Rect kRateBar{488, 636, 637, 644};
inline constexpr Rect kVolumeBar{488, 657, 637, 665};
// Tops of what DrawSliders puts on the back buffer.
inline constexpr int kPositionFillTop = 684;
inline constexpr int kPositionFillHeight = 10;
inline constexpr int kPositionThumbTop = 685;
inline constexpr int kRateFillTop = 636;
inline constexpr int kRateThumbTop = 634;
inline constexpr int kVolumeFillTop = 657;
inline constexpr int kVolumeThumbTop = 655;

// The sound icons beside the volume bar.
inline constexpr Rect kNoAudioIcon{445, 654, 460, 667};
inline constexpr Rect kSpeakerIcon{466, 654, 481, 666};

// What painting restores from the clean skin and what the timers and the mouse repaint.
inline constexpr Rect kPositionTrack{70, 684, 675, 695};        // the bar with the thumb at its end
inline constexpr Rect kPositionStrip{65, 684, 675, 695};        // the same with the thumb's overhang
inline constexpr Rect kPositionTickRepaint{70, 684, 670, 696};  // the position timer's repaint
inline constexpr Rect kPositionDragRepaint{70, 685, 670, 705};  // a press or drag on the position bar
inline constexpr Rect kRateTrack{488, 634, 643, 646};
inline constexpr Rect kVolumeArea{488, 655, 653, 667};
inline constexpr Rect kRateRestore{438, 626, 643, 656};
inline constexpr Rect kRateRepaint{438, 626, 653, 656};
inline constexpr Rect kVolumeRestore{438, 644, 643, 666};
inline constexpr Rect kVolumeRepaint{438, 644, 653, 676};
inline constexpr Rect kVolumeDragRepaint{466, 654, 653, 679};
inline constexpr Rect kSensorArea{20, 550, 450, 685};  // the graph with its scale and readouts

// The G-sensor graph and the strip of its readouts below it.
inline constexpr Rect kGraphRect{70, 550, 437, 665};
inline constexpr Rect kReadoutStrip{80, 663, 350, 685};

// The window's top-left corner on a desktop: centred, negative on a small desktop.
std::array<int, 2> CentredOrigin(int desktopWidth, int desktopHeight);

// ---- The full-screen layout of a W x H screen ----

// The skin's bands around the video: the title band, the side edges and the transport band.
inline constexpr int kFullScreenTitleBandHeight = 47;
inline constexpr int kFullScreenEdgeWidth = 9;
inline constexpr int kFullScreenBottomBandHeight = 84;

// Where the video may go.
Rect FullScreenVideoArea(int screenWidth, int screenHeight);
// The position bar and the rectangle of the time text beside it.
Rect FullScreenPositionBar(int screenWidth, int screenHeight);
Rect FullScreenTimeTextRect(const Rect& bar);

// The places of the buttons that move between the two layouts (the others hide in full screen).
std::array<ButtonPlace, kMovingButtonCount> NormalButtonPlaces();
std::array<ButtonPlace, kMovingButtonCount> FullScreenButtonPlaces(int screenWidth, int screenHeight);

}  // namespace display
