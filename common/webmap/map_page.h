#pragma once

// A map page of either program: the browser side every map view shares.
//
// A page built on the page base includes, from the resources,
//   /webmap/leaflet/leaflet.css, /webmap/page_base.css,
//   /webmap/leaflet/leaflet.js,  /webmap/page_base.js
// and calls webmap.createMap(elementId, options) and webmap.markReady() (see page_base.js).
// MapPage hands the page base its configuration (the tile source and any value the program
// adds with SetConfigValue) before the first script of the page runs, as window.webmapConfig.
#include <QJsonObject>
#include <QUrl>
#include <QWebEnginePage>

#include "common/webmap/tile_source.h"

class QWebEngineProfile;
class QWebEngineView;

namespace webmap {
class RequestFence;
}

namespace webmap {

// "<application name>/<version> (dash-cam companion; QtWebEngine)": tile servers ask
// applications to name themselves instead of passing for a browser.
QString MapUserAgent();

// The profile all map pages of the process share: off the record (nothing written to disk,
// tiles cached in memory), with MapUserAgent(). Owned by the application object.
QWebEngineProfile* MapProfile();

// What a map page does with a navigation request.
enum class Navigation { Load, OpenOutside, Refuse };
// Pages come from the resources; a link the user clicks (the tile attribution) opens in the
// desktop's browser instead of replacing the map; anything else is refused.
Navigation JudgeNavigation(const QUrl& url, bool linkClicked, bool mainFrame);

class MapPage : public QWebEnginePage {
  Q_OBJECT
 public:
  explicit MapPage(const TileSource& tiles, QObject* parent = nullptr);
  ~MapPage() override;

  const TileSource& tiles() const { return tiles_; }
  // How many of the page's requests the fence has blocked (see request_fence.h).
  int blockedRequests() const;

  // Adds `key` to window.webmapConfig for the next load (the tracker's language, for example).
  void SetConfigValue(const QString& key, const QJsonValue& value);
  QJsonObject config() const { return config_; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                const QString& source) override;

 private:
  void InstallConfigScript();

  TileSource tiles_;
  QJsonObject config_;
  RequestFence* fence_ = nullptr;
};

// Settings an embedded map view wants: no scroll bars, no context menu, no focus stealing.
void PrepareMapView(QWebEngineView& view);

}  // namespace webmap
