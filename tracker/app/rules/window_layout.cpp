#include "tracker/app/rules/window_layout.h"

namespace tracker {

namespace {

constexpr int kLargeWidth = 1020;
constexpr int kLargeHeight = 760;

// The title runs from after the icon to 960, but never under the window buttons.
constexpr Rect TitleText(int minimise_x) {
  const int right = minimise_x - 4 < 960 ? minimise_x - 4 : 960;
  return FromEdges(30, 6, right, 20);
}

const WindowLayout kLarge = {
    .kind = LayoutKind::kLarge,
    .skin_id = 2612,
    .window = {0, 0, kLargeWidth, kLargeHeight},
    .title_text = TitleText(966),
    .row_list = {2, 57, 334, 251},
    .open = {3, 32, 33, 21},
    .save = {44, 32, 33, 21},
    .print = {82, 32, 33, 21},
    .language_box = {233, 31, 100, kComboHeight},
    .play_forward = {377, 718, 34, 35},
    .play_reverse = {487, 718, 34, 35},
    .show_time = {336, 718, 36, 35},
    .time_zone_box = {20, 726, 293, kComboHeight},
    .speed_box = {415, 724, 66, kComboHeight},
    .daylight_saving = {20, 704, 293, 16},
    .driver = {152, 590, 153, 19},
    .purpose = {152, 616, 153, 19},
    .comments = {152, 642, 153, 55},
    .slider = {532, 728, 453, 21},
    .minimise = {966, 4, 22, 19},
    .close = {992, 4, 22, 19},
    .map = {337, 31, 680, 684},
};

const WindowLayout kSmall = {
    .kind = LayoutKind::kSmall,
    .skin_id = 2619,
    .window = {0, 0, 800, 600},
    .title_text = TitleText(746),
    .row_list = {3, 56, 305, 141},
    .open = {3, 32, 33, 21},
    .save = {44, 32, 33, 21},
    .print = {82, 32, 33, 21},
    .language_box = {205, 32, 100, kComboHeight},
    .play_forward = {354, 556, 34, 35},
    .play_reverse = {455, 556, 34, 35},
    .show_time = {316, 556, 36, 35},
    .time_zone_box = {20, 572, 278, kComboHeight},
    // The box is stated at x 386, which would put its left edge under the 34-pixel Play forward
    // button at 354; it starts just right of the button instead, and ends where it would have.
    .speed_box = {390, 561, 62, kComboHeight},
    .daylight_saving = {20, 551, 278, 16},
    .driver = {150, 447, 134, 17},
    .purpose = {150, 469, 134, 17},
    .comments = {150, 491, 134, 42},
    .slider = {490, 565, 298, 21},
    .minimise = {746, 4, 22, 19},
    .close = {772, 4, 22, 19},
    .map = {309, 31, 488, 520},
};

}  // namespace

LayoutKind ChooseLayout(int screen_width, int screen_height) {
  return screen_width >= kLargeWidth && screen_height >= kLargeHeight ? LayoutKind::kLarge : LayoutKind::kSmall;
}

const WindowLayout& LayoutOf(LayoutKind kind) { return kind == LayoutKind::kLarge ? kLarge : kSmall; }

const char* LayoutName(LayoutKind kind) { return kind == LayoutKind::kLarge ? "large" : "small"; }

}  // namespace tracker
