#pragma once

// The painters behind the skin's bitmaps. Each paints a whole image of its stated size.
#include <QColor>
#include <QImage>
#include <QPainter>

#include <cstdint>

#include "manager/display/qt_geometry.h"
#include "manager/setup/profile.h"

namespace display::artwork {

using display::ToQColor;

void PaintBackground(QImage& image, const setup::Profile& profile);
void PaintFullScreenBackground(QImage& image);
void PaintLogo(QImage& image);

void PaintBarFill(QImage& image, QColor colour);  // position, rate and volume fills
void PaintSmallThumb(QImage& image);              // the 5 x 10 thumbs
void PaintFullScreenBar(QImage& image, bool filled);
void PaintFullScreenThumb(QImage& image);

void PaintMutedIcon(QImage& image);
void PaintNoAudioIcon(QImage& image);
// The speaker and the rate dial that the background carries beside the sliders.
void PaintSpeaker(QPainter& painter, const QRectF& box, QColor colour);
void PaintDial(QPainter& painter, const QRectF& box, QColor colour);

// A button strip: the four states side by side (eight for a button with a toggled set).
void PaintButtonStrip(QImage& image, int commandId, int imageWidth, int images);

}  // namespace display::artwork
