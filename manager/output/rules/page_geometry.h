#pragma once

#include <optional>
#include <vector>

namespace output {

// Rectangles as left, top, right, bottom (right and bottom exclusive), in the virtual page's
// logical pixels.
struct PageRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PageRect&) const = default;
};

struct PageLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  bool operator==(const PageLine&) const = default;
};

// The virtual page: 1280 wide in portrait (or square), 1080 high in landscape, the other side
// in the proportions of the printable area, so the page fills the sheet without distortion.
struct PageSize {
  int width = 0;
  int height = 0;
  bool landscape = false;
  bool operator==(const PageSize&) const = default;
};

// From the printable area in device pixels; none for an empty area.
std::optional<PageSize> VirtualPageSize(int deviceWidth, int deviceHeight);

enum class PictureFit {
  // At its own size from the area's top-left corner. A frame larger than the area is shrunk
  // to fit it whole, proportions kept, centred: cut to its top-left corner, a 1280 x 720 front
  // picture would lose the road ahead.
  Unscaled,
  Stretch,  // the whole frame stretched onto the area
};

// Where one frame picture goes.
struct PictureSlot {
  PageRect area;  // white where the picture does not reach
  PictureFit fit = PictureFit::Unscaled;
  PageRect caption;  // the resolution text
};

// Where the whole frame of frameWidth x frameHeight is drawn in the slot; empty without a frame.
PageRect PicturePlacement(const PictureSlot& slot, int frameWidth, int frameHeight);

struct PageLayout {
  PageSize size;
  PageRect title;
  PageLine upperRule;
  PageRect dateLine;
  PageRect gSensorLine;
  PageRect speedLine;
  PageLine lowerRule;
  PageRect printTime;
  std::vector<PictureSlot> pictures;  // drawn in this order; the first is slot A
};

// The dual profile's page: slot A for the large window's channel, slot B for the other, each
// 640 x 480 with its picture copied unscaled.
PageLayout TwoPictureLayout(const PageSize& page);

// The one-channel profiles' page for a frame of frameWidth x frameHeight (0 x 0 without one).
PageLayout OnePictureLayout(const PageSize& page, int frameWidth, int frameHeight);

// The largest whole multiple k (at least 1) of the frame's own proportions in lowest terms
// (16 x 9 for 1280 x 720, 427 x 240 for 854 x 480; 4 x 3 without a frame) that fits maxWidth x
// maxHeight, so the picture keeps equal horizontal and vertical scale; the fitted size. Proportions
// whose step does not fit even once are scaled down to fit, still unstretched.
struct FittedSize {
  int width = 0;
  int height = 0;
  bool operator==(const FittedSize&) const = default;
};
FittedSize FitInSteps(int frameWidth, int frameHeight, int maxWidth, int maxHeight);

}  // namespace output
