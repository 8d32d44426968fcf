#pragma once

#include <string>
#include <vector>

#include <QImage>

#include "manager/output/rules/page_geometry.h"
#include "manager/output/rules/page_texts.h"
#include "manager/playback/video_frame.h"
#include "manager/setup/profile.h"

class QPainter;
class QPrinter;

namespace output {

// Everything printed on the page, made before the print dialog is shown.
struct PageContent {
  PageTexts texts;
  std::vector<QImage> pictures;       // slot order: the large window's channel first
  std::vector<std::string> captions;  // resolution text under each picture
};

// A copy of a grabbed frame; a null image without one.
QImage PictureFromFrame(const playback::RgbImage* frame);

// The texts and pictures, with each picture's resolution text ("0 x 0" for a null picture).
PageContent MakePageContent(PageTexts texts, std::vector<QImage> pictures);

// The profile's page for the content on a virtual page of `size`.
PageLayout LayoutPage(const PageSize& size, const setup::Profile& profile, const PageContent& content);

// Paints the page in its own logical pixels (0, 0, width, height): white background, texts,
// rules, then the pictures, each slot white where its picture does not reach.
void PaintPage(QPainter& painter, const PageLayout& layout, const PageContent& content);

// The page as a bitmap of the virtual page's size.
QImage ComposePage(const PageLayout& layout, const PageContent& content);

// Prints the page as one sheet, stretched over the printer's whole paint area (its printable
// area, or the sheet in full-page mode) with smooth scaling. The texts stay text, so they are
// sharp on paper and can be found in a PDF. False when the printer has no area or cannot be
// painted on (for a PDF: the file cannot be created).
bool PrintPage(QPrinter& printer, const setup::Profile& profile, const PageContent& content);

}  // namespace output
