#include "common/webmap/request_fence.h"

#include <QLoggingCategory>
#include <QStringList>

namespace webmap {
namespace {

Q_LOGGING_CATEGORY(lcFence, "webmap.fence")

constexpr char kAnyLabel[] = "blackbox-any-label";

// The template as an address: the tile numbers filled in, {s} marked as a label of its own.
QUrl TemplateUrl(const TileSource& tiles) {
  QString sample = tiles.urlTemplate;
  sample.replace("{z}", "1").replace("{x}", "2").replace("{y}", "3").replace("{r}", "").replace("{s}", kAnyLabel);
  return QUrl(sample, QUrl::StrictMode);
}

bool HostMatches(const QString& host, const QString& pattern) {
  const QStringList labels = host.toLower().split('.');
  const QStringList wanted = pattern.toLower().split('.');
  if (labels.size() != wanted.size()) return false;
  for (qsizetype i = 0; i < labels.size(); ++i) {
    if (wanted[i] == QLatin1String(kAnyLabel) ? labels[i].isEmpty() : labels[i] != wanted[i]) return false;
  }
  return true;
}

bool IsWeb(const QString& scheme) { return scheme == "http" || scheme == "https"; }

}  // namespace

bool MayRequest(const QUrl& url, const TileSource& tiles) {
  const QString scheme = url.scheme().toLower();
  if (scheme == "qrc" || scheme == "data" || scheme == "blob" || scheme == "about") return true;
  if (!IsWeb(scheme) || !tiles.hasTiles()) return false;
  const QUrl server = TemplateUrl(tiles);
  if (!server.isValid() || server.scheme().toLower() != scheme) return false;
  const int defaultPort = scheme == "https" ? 443 : 80;
  return HostMatches(url.host(), server.host()) && url.port(defaultPort) == server.port(defaultPort);
}

QString ContentSecurityPolicy(const TileSource& tiles) {
  QString images = "'self' qrc: data: blob:";
  if (tiles.hasTiles()) {
    const QUrl server = TemplateUrl(tiles);
    QString host = server.host();
    // A source may start with a wildcard label only; a {s} further in is left to the fence.
    if (host.startsWith(QString(kAnyLabel) + '.')) host.replace(0, int(sizeof kAnyLabel) - 1, "*");
    if (!host.contains(kAnyLabel)) {
      images += ' ' + server.scheme() + "://" + host + (server.port() >= 0 ? ':' + QString::number(server.port()) : "");
    } else {
      images += ' ' + server.scheme() + ':';
    }
  }
  return "default-src 'none'; script-src 'self' qrc: 'unsafe-inline'; style-src 'self' qrc: 'unsafe-inline'; "
         "img-src " +
         images +
         "; font-src 'self' qrc: data:; connect-src 'self' qrc:; "
         "object-src 'none'; frame-src 'none'; form-action 'none'; base-uri 'none'";
}

RequestFence::RequestFence(TileSource tiles, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), tiles_(std::move(tiles)) {}

void RequestFence::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (MayRequest(info.requestUrl(), tiles_)) return;
  ++blocked_;
  qCWarning(lcFence) << "blocked a map page's request for" << info.requestUrl().toDisplayString();
  info.block(true);
}

}  // namespace webmap
