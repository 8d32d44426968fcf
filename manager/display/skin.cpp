#include "manager/display/skin.h"

#include "manager/display/rules/button_table.h"
#include "manager/display/skin_artwork.h"

namespace display {
namespace {

using namespace bitmaps;

struct BitmapEntry {
  int id;
  int width;
  int height;
};

// The bitmaps other than the button strips, at their stated sizes.
constexpr BitmapEntry kPictures[] = {
    {kBackground, 1024, 768},
    {kPositionFill, 600, 10},
    {kPositionThumb, 5, 10},
    {kRateFill, 36, 5},
    {kRateThumb, 5, 10},
    {kVolumeFill, 23, 5},
    {kVolumeThumb, 5, 10},
    {kMuted, 15, 12},
    {kNoAudio, 15, 13},
    {kFullScreenBackground, 1304, 845},
    {kLogo, 78, 45},
    {kFullScreenBarFilled, 1169, 11},
    {kFullScreenBarEmpty, 1169, 11},
    {kFullScreenThumb, 11, 19},
};

void PaintPicture(int id, QImage& image, const setup::Profile& profile) {
  switch (id) {
    case kBackground: artwork::PaintBackground(image, profile); break;
    case kFullScreenBackground: artwork::PaintFullScreenBackground(image); break;
    case kLogo: artwork::PaintLogo(image); break;
    case kPositionFill: artwork::PaintBarFill(image, artwork::ToQColor(0xf2a900)); break;
    case kRateFill:
    case kVolumeFill: artwork::PaintBarFill(image, artwork::ToQColor(0x3d8bfd)); break;
    case kPositionThumb:
    case kRateThumb:
    case kVolumeThumb: artwork::PaintSmallThumb(image); break;
    case kMuted: artwork::PaintMutedIcon(image); break;
    case kNoAudio: artwork::PaintNoAudioIcon(image); break;
    case kFullScreenBarFilled: artwork::PaintFullScreenBar(image, true); break;
    case kFullScreenBarEmpty: artwork::PaintFullScreenBar(image, false); break;
    case kFullScreenThumb: artwork::PaintFullScreenThumb(image); break;
    default: break;
  }
}

}  // namespace

Skin::Skin(const setup::Profile& profile) {
  for (const BitmapEntry& entry : kPictures) {
    QImage image(entry.width, entry.height, QImage::Format_RGB32);
    image.fill(Qt::black);
    PaintPicture(entry.id, image, profile);
    images_.emplace(entry.id, std::move(image));
  }
  for (const ImageButtonSpec& button : kImageButtons) {
    const int images = StripImageCount(button.kind);
    QImage strip(button.place.Width() * images, button.place.Height(), QImage::Format_RGB32);
    strip.fill(Qt::black);
    artwork::PaintButtonStrip(strip, button.id, button.place.Width(), images);
    images_.emplace(button.bitmap, std::move(strip));
  }
}

const QImage& Skin::Bitmap(int id) const {
  static const QImage kNone;
  const auto it = images_.find(id);
  return it == images_.end() ? kNone : it->second;
}

std::vector<int> Skin::BitmapIds() {
  std::vector<int> ids;
  for (const BitmapEntry& entry : kPictures) ids.push_back(entry.id);
  for (const ImageButtonSpec& button : kImageButtons) ids.push_back(button.bitmap);
  return ids;
}

QSize Skin::BitmapSize(int id) {
  for (const BitmapEntry& entry : kPictures) {
    if (entry.id == id) return {entry.width, entry.height};
  }
  for (const ImageButtonSpec& button : kImageButtons) {
    if (button.bitmap == id) return {button.place.Width() * StripImageCount(button.kind), button.place.Height()};
  }
  return {};
}

}  // namespace display
