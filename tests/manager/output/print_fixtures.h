#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

namespace print_testing {

// A picture of four solid quarters: top left, top right, bottom left, bottom right.
using Quarters = std::array<QColor, 4>;

inline const Quarters kFrontQuarters{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 0)};
inline const Quarters kRearQuarters{QColor(255, 0, 255), QColor(0, 255, 255), QColor(0, 0, 0), QColor(255, 128, 0)};

// Encodes a 2-second H.264 recording of `quarters` at width x height (10 fps, no sound), with
// `userData` (a sensor record box) after its movie header, as the camera writes it.
void MakeQuarterClip(const std::filesystem::path& path, int width, int height, const Quarters& quarters,
                     std::string_view userData = {});

// A sensor record for a 2-second recording starting at `start` (UTC): a time and a GPS
// sample a second at 10 knots, and G-sensor samples stored as 0.5, -0.25, 1.0.
std::string TwoSecondUserData(std::int32_t start);

// The PDF's first page at `dpi` (pdftoppm); a null image when it cannot be read.
QImage RasterisePdf(const std::filesystem::path& pdf, int dpi);
// The PDF's text, in reading order (pdftotext).
std::string PdfText(const std::filesystem::path& pdf);

// The colour at (x, y) is within `tolerance` of `expected` on every channel: the pictures
// pass through H.264 and the PDF's own image compression.
::testing::AssertionResult ColourNear(const QImage& image, int x, int y, const QColor& expected, int tolerance = 48);

}  // namespace print_testing
