#include "common/webmap/map_page.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "common/webmap/page_call.h"
#include "common/webmap/request_fence.h"

namespace webmap {
namespace {

Q_LOGGING_CATEGORY(lcPage, "webmap.page")

constexpr char kConfigScriptName[] = "webmap-config";

QJsonObject TilesConfig(const TileSource& tiles) {
  return QJsonObject{{"url", tiles.urlTemplate},
                     {"attribution", tiles.attribution},
                     {"attributionUrl", tiles.attributionUrl},
                     {"maxZoom", tiles.maxZoom},
                     {"rejected", tiles.rejected}};
}

}  // namespace

QString MapUserAgent() {
  QString name = QCoreApplication::applicationName();
  if (name.isEmpty()) name = QStringLiteral("blackbox");
  QString version = QCoreApplication::applicationVersion();
  if (version.isEmpty()) version = QStringLiteral("0");
  // A product token allows no blanks.
  name.replace(QLatin1Char(' '), QLatin1Char('-'));
  return QStringLiteral("%1/%2 (dash-cam companion; QtWebEngine)").arg(name, version);
}

QWebEngineProfile* MapProfile() {
  static QPointer<QWebEngineProfile> profile;
  if (!profile) {
    profile = new QWebEngineProfile(QCoreApplication::instance());
    profile->setHttpUserAgent(MapUserAgent());
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
  }
  return profile;
}

Navigation JudgeNavigation(const QUrl& url, bool linkClicked, bool mainFrame) {
  const QString scheme = url.scheme().toLower();
  if (linkClicked) {
    return scheme == "http" || scheme == "https" ? Navigation::OpenOutside : Navigation::Refuse;
  }
  if (!mainFrame) return scheme == "about" ? Navigation::Load : Navigation::Refuse;
  return scheme == "qrc" || url.toString() == "about:blank" ? Navigation::Load : Navigation::Refuse;
}

MapPage::MapPage(const TileSource& tiles, QObject* parent) : QWebEnginePage(MapProfile(), parent), tiles_(tiles) {
  QWebEngineSettings* s = settings();
  // Pages come from qrc: and their tiles from the network.
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  s->setAttribute(QWebEngineSettings::ShowScrollBars, false);
  s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  config_.insert("tiles", TilesConfig(tiles_));
  // The fence holds whatever the page tries; the policy makes the page itself refuse first.
  fence_ = new RequestFence(tiles_, this);
  setUrlRequestInterceptor(fence_);
  InstallConfigScript();
}

MapPage::~MapPage() = default;

int MapPage::blockedRequests() const { return fence_ != nullptr ? fence_->blocked() : 0; }

void MapPage::SetConfigValue(const QString& key, const QJsonValue& value) {
  if (key == "tiles") return;  // the tile source is fixed with the page
  config_.insert(key, value);
  InstallConfigScript();
}

void MapPage::InstallConfigScript() {
  QWebEngineScriptCollection& collection = scripts();
  for (const QWebEngineScript& old : collection.find(kConfigScriptName)) collection.remove(old);
  const QString json = QString::fromUtf8(QJsonDocument(config_).toJson(QJsonDocument::Compact));
  QWebEngineScript script;
  script.setName(kConfigScriptName);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  // The policy goes into the head as soon as there is one, ahead of the page's own scripts: a
  // page from the resources gets no response headers to carry it.
  static const char kPolicy[] = R"(
(function (policy) {
  function add() {
    var meta = document.createElement('meta');
    meta.httpEquiv = 'Content-Security-Policy';
    meta.content = policy;
    document.head.insertBefore(meta, document.head.firstChild);
  }
  if (document.head) { add(); return; }
  var watch = new MutationObserver(function () {
    if (!document.head) return;
    watch.disconnect();
    add();
  });
  watch.observe(document, {childList: true, subtree: true});
})(%1);)";
  script.setSourceCode(QStringLiteral("window.webmapConfig = JSON.parse(%1);").arg(ScriptStringLiteral(json)) +
                       QString::fromLatin1(kPolicy).arg(ScriptStringLiteral(ContentSecurityPolicy(tiles_))));
  collection.insert(script);
}

bool MapPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  switch (JudgeNavigation(url, type == NavigationTypeLinkClicked, isMainFrame)) {
    case Navigation::Load: return true;
    case Navigation::OpenOutside: QDesktopServices::openUrl(url); return false;
    case Navigation::Refuse: qCWarning(lcPage) << "refused navigation to" << url.toDisplayString(); return false;
  }
  return false;
}

void MapPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                       const QString& source) {
  if (level == ErrorMessageLevel) {
    qCWarning(lcPage, "%s:%d: %s", qPrintable(source), line, qPrintable(message));
  } else {
    qCDebug(lcPage, "%s:%d: %s", qPrintable(source), line, qPrintable(message));
  }
}

void PrepareMapView(QWebEngineView& view) {
  view.setContextMenuPolicy(Qt::NoContextMenu);
  view.setFocusPolicy(Qt::NoFocus);
  view.setAcceptDrops(false);
}

}  // namespace webmap
