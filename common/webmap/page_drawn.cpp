#include "common/webmap/page_drawn.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace webmap {

bool ShowsDrawnFrame(QWidget& view) {
  if (!view.isVisible() || view.width() <= 0 || view.height() <= 0) return false;
  const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) return false;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] != first) return true;
    }
  }
  return false;
}

QVariant RunScriptAndWait(QWebEnginePage& page, const QString& script, std::chrono::milliseconds timeout) {
  // The answer may come after we gave up: it then lands in a box nobody reads any more.
  struct Box {
    QVariant value;
    bool done = false;
  };
  auto box = std::make_shared<Box>();
  QEventLoop loop;
  QPointer<QEventLoop> guard(&loop);
  page.runJavaScript(script, [box, guard](const QVariant& value) {
    box->value = value;
    box->done = true;
    if (guard) guard->quit();
  });
  if (!box->done) {
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return box->value;
}

QVariantMap WaitUntilDrawn(QWebEngineView& view, const PageStateTest& until, std::chrono::milliseconds timeout) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < timeout.count()) {
    if (QWebEnginePage* page = view.page()) {
      const QVariantMap state =
          RunScriptAndWait(*page, "window.pageState === undefined ? null : window.pageState", std::chrono::seconds(2))
              .toMap();
      if (state.value("ready").toBool() && (!until || until(state)) && ShowsDrawnFrame(view)) return state;
    }
    QEventLoop pause;
    QTimer::singleShot(20, &pause, &QEventLoop::quit);
    pause.exec();
  }
  return {};
}

}  // namespace webmap
