#pragma once

// Knowing when a map page is on screen. A view grabs white until its first frame has been
// drawn, even after loadFinished, so a screenshot or a pixel check waits for a drawn frame and
// for the page base's window.pageState.ready.
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <chrono>
#include <functional>

class QWebEnginePage;
class QWebEngineView;
class QWidget;

namespace webmap {

// True when `view` is shown and its grab is not one flat colour. Cheap enough to poll from a
// screenshot's "settled" test (one grab of the view).
bool ShowsDrawnFrame(QWidget& view);

// For tests and benchmarks, never for the programs: these run the event loop until done.

// Runs `script` on `page` and returns its result; an invalid QVariant after `timeout`.
QVariant RunScriptAndWait(QWebEnginePage& page, const QString& script,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Waits until the page says ready, `until` (when given) holds for its window.pageState, and
// the view shows a drawn frame. Returns the page state at that moment, or an empty map after
// `timeout`.
using PageStateTest = std::function<bool(const QVariantMap& pageState)>;
QVariantMap WaitUntilDrawn(QWebEngineView& view, const PageStateTest& until = {},
                           std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace webmap
