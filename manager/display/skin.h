#pragma once

#include <QImage>
#include <QSize>

#include <map>
#include <vector>

#include "manager/setup/profile.h"

namespace display {

// The ids of the window's bitmaps; the button strips use the ids of the button table.
namespace bitmaps {
inline constexpr int kMuted = 128;  // speaker, volume 0 or no audio output
inline constexpr int kVolumeFill = 171;
inline constexpr int kVolumeThumb = 172;
inline constexpr int kRateFill = 173;
inline constexpr int kRateThumb = 174;
inline constexpr int kPositionFill = 175;
inline constexpr int kPositionThumb = 176;
inline constexpr int kBackground = 104;  // the normal layout
inline constexpr int kFullScreenBackground = 187;
inline constexpr int kLogo = 197;
inline constexpr int kFullScreenBarFilled = 205;
inline constexpr int kFullScreenBarEmpty = 206;
inline constexpr int kFullScreenThumb = 207;
inline constexpr int kNoAudio = 208;  // channel 1 has no audio output
}  // namespace bitmaps

// The window's artwork: every bitmap painted once, at start-up, by our own code at its fixed
// size, and looked up by its id. The profile puts its title on the background and its map and
// video places into it.
class Skin {
 public:
  explicit Skin(const setup::Profile& profile);

  // A null image for an id the skin does not have.
  const QImage& Bitmap(int id) const;

  static std::vector<int> BitmapIds();
  // The stated size of a bitmap; empty for an unknown id.
  static QSize BitmapSize(int id);

 private:
  std::map<int, QImage> images_;
};

}  // namespace display
