#pragma once
// What the GUI benchmarks share: running headless with web views, and waiting on the event loop.
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QtGlobal>

#include <functional>

namespace gui_bench {

// Offscreen and without Chromium's sandbox unless the caller's environment says otherwise;
// map tiles from `tileUrl` ("none": no tile source at all). Call before the QApplication exists.
inline void PrepareHeadlessWebViews(const char* tileUrl) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  qputenv("BLACKBOX_TILE_URL", tileUrl);
}

// Runs the event loop until `done` holds or `limitMs` have passed; whether it held. Polls every
// few milliseconds without sleeping, so the figures keep millisecond resolution (QTest::qWaitFor
// sleeps 10 ms between looks).
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

}  // namespace gui_bench
