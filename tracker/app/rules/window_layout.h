#pragma once

namespace tracker {

// A rectangle in window pixels.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int right() const { return x + width; }    // first column past the rectangle
  int bottom() const { return y + height; }  // first row past the rectangle
  bool Intersects(const Rect& other) const {
    return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
  }
  bool Contains(const Rect& other) const {
    return other.x >= x && other.y >= y && other.right() <= right() && other.bottom() <= bottom();
  }
  bool Contains(int px, int py) const { return px >= x && px < right() && py >= y && py < bottom(); }
  bool operator==(const Rect&) const = default;
};

// A rectangle given by its edges (left, top, right, bottom).
constexpr Rect FromEdges(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

// The window comes in two sizes, chosen once at start-up from the screen.
enum class LayoutKind { kLarge, kSmall };

// Large when the screen holds the 1020 x 760 window, small (800 x 600) otherwise.
LayoutKind ChooseLayout(int screen_width, int screen_height);

// Where every control of the main window sits. Drop-down boxes are given closed.
struct WindowLayout {
  LayoutKind kind;
  int skin_id;  // the background artwork
  Rect window;
  Rect title_text;  // the title bar's text, between the icon and the window buttons
  Rect row_list;
  Rect open;
  Rect save;
  Rect print;
  Rect language_box;
  Rect play_forward;
  Rect play_reverse;
  Rect show_time;
  Rect time_zone_box;
  Rect speed_box;
  Rect daylight_saving;
  Rect driver;
  Rect purpose;
  Rect comments;
  Rect slider;
  Rect minimise;
  Rect close;
  Rect map;
};

// Height of the closed drop-down boxes.
inline constexpr int kComboHeight = 22;
// A press in this band at the top of the window moves the window.
inline constexpr int kCaptionBandHeight = 30;

const WindowLayout& LayoutOf(LayoutKind kind);

// "large" or "small".
const char* LayoutName(LayoutKind kind);

}  // namespace tracker
