#pragma once

// What a map page may load: the program's own resources and the tile server, nothing else. A
// page shows card data (positions, times) and must not be able to send it anywhere else, even
// if a script of its own were talked into trying.
#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

#include "common/webmap/tile_source.h"

namespace webmap {

// The page's own resources (qrc:, data:, blob:, about:) and http(s) addresses on the tile
// server's host and port; a {s} label of the template stands for any one label.
bool MayRequest(const QUrl& url, const TileSource& tiles);

// The policy the pages carry, in the same spirit: scripts and styles from the resources only,
// images from the resources and the tile server, no connections, frames, forms or plug-ins.
QString ContentSecurityPolicy(const TileSource& tiles);

// Blocks every request of one page that MayRequest refuses.
class RequestFence : public QWebEngineUrlRequestInterceptor {
 public:
  explicit RequestFence(TileSource tiles, QObject* parent = nullptr);
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
  int blocked() const { return blocked_; }

 private:
  TileSource tiles_;
  int blocked_ = 0;
};

}  // namespace webmap
