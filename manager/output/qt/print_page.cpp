#include "manager/output/qt/print_page.h"

#include <algorithm>

#include <QFont>
#include <QPainter>
#include <QPrinter>

namespace output {
namespace {

QRect ToQRect(const PageRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The page font: "system" at 24 logical pixels, normal weight; "system" is the desktop's
// sans-serif here.
QFont PageFont() {
  QFont font(QStringLiteral("sans-serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(24);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

void DrawLineText(QPainter& painter, const PageRect& rect, const std::string& text) {
  // Not clipped: a long translation or the caption of a missing picture (whose rectangle can
  // be empty) must still be readable.
  constexpr int kFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
  const PageRect shown{rect.left, rect.top, std::max(rect.right, rect.left), rect.bottom};
  painter.drawText(ToQRect(shown), kFlags, QString::fromStdString(text));
}

void DrawPicture(QPainter& painter, const PictureSlot& slot, const QImage& picture) {
  painter.fillRect(ToQRect(slot.area), Qt::white);
  const QRect placed = ToQRect(PicturePlacement(slot, picture.width(), picture.height()));
  if (picture.isNull() || placed.isEmpty()) return;
  if (placed.size() == picture.size()) {
    painter.drawImage(placed.topLeft(), picture);
  } else {
    painter.drawImage(placed, picture);
  }
}

}  // namespace

QImage PictureFromFrame(const playback::RgbImage* frame) {
  if (frame == nullptr || frame->width <= 0 || frame->height <= 0 ||
      frame->pixels.size() != static_cast<std::size_t>(frame->width) * frame->height * 3) {
    return QImage();
  }
  const QImage view(frame->pixels.data(), frame->width, frame->height, frame->width * 3, QImage::Format_RGB888);
  return view.copy();
}

PageContent MakePageContent(PageTexts texts, std::vector<QImage> pictures) {
  PageContent content{std::move(texts), std::move(pictures), {}};
  for (const QImage& picture : content.pictures) {
    content.captions.push_back(ResolutionText(picture.width(), picture.height()));
  }
  return content;
}

PageLayout LayoutPage(const PageSize& size, const setup::Profile& profile, const PageContent& content) {
  if (profile.print == setup::PrintVariant::TwoPicturesUnscaled) return TwoPictureLayout(size);
  const QImage picture = content.pictures.empty() ? QImage() : content.pictures.front();
  return OnePictureLayout(size, picture.width(), picture.height());
}

void PaintPage(QPainter& painter, const PageLayout& layout, const PageContent& content) {
  painter.save();
  painter.fillRect(QRect(0, 0, layout.size.width, layout.size.height), Qt::white);
  painter.setFont(PageFont());
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  DrawLineText(painter, layout.title, content.texts.title);
  DrawLineText(painter, layout.dateLine, content.texts.dateLine);
  DrawLineText(painter, layout.gSensorLine, content.texts.gSensorLine);
  DrawLineText(painter, layout.speedLine, content.texts.speedLine);
  for (std::size_t i = 0; i < layout.pictures.size() && i < content.captions.size(); ++i) {
    DrawLineText(painter, layout.pictures[i].caption, content.captions[i]);
  }
  DrawLineText(painter, layout.printTime, content.texts.printTime);

  painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
  for (const PageLine& rule : {layout.upperRule, layout.lowerRule})
    painter.drawLine(rule.x1, rule.y1, rule.x2, rule.y2);

  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (std::size_t i = 0; i < layout.pictures.size(); ++i) {
    DrawPicture(painter, layout.pictures[i], i < content.pictures.size() ? content.pictures[i] : QImage());
  }
  painter.restore();
}

QImage ComposePage(const PageLayout& layout, const PageContent& content) {
  QImage page(layout.size.width, layout.size.height, QImage::Format_RGB32);
  QPainter painter(&page);
  PaintPage(painter, layout, content);
  return page;
}

bool PrintPage(QPrinter& printer, const setup::Profile& profile, const PageContent& content) {
  const int deviceWidth = printer.width();
  const int deviceHeight = printer.height();
  const auto size = VirtualPageSize(deviceWidth, deviceHeight);
  if (!size) return false;
  const PageLayout layout = LayoutPage(*size, profile, content);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setWindow(0, 0, size->width, size->height);
  painter.setViewport(0, 0, deviceWidth, deviceHeight);
  PaintPage(painter, layout, content);
  return painter.end();
}

}  // namespace output
