#include "manager/display/map_view.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QPointer>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include "common/webmap/map_page.h"
#include "common/webmap/page_call.h"
#include "common/webmap/page_drawn.h"
#include "common/webmap/tile_source.h"
#include "manager/display/rules/recording_track.h"
#include "manager/language/lookup_text.h"
#include "manager/recording/gps_decode.h"

namespace display {
namespace {

// How often the page's state is read back while it is still settling (tiles answering).
constexpr int kStatePollMs = 100;
// A screenshot waits this long at most for the first tiles; an unreachable tile server can
// take much longer to give up, and the page is usable without them.
constexpr qint64 kTileWaitMs = 4000;
constexpr qint64 kStatePollLimitMs = 10000;

QJsonArray RectArray(const QRect& r) { return QJsonArray{r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

MapView::MapView(const setup::Profile& profile, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("MapView"));
  const QString path = QString::fromUtf8(profile.map_page_path.data(), qsizetype(profile.map_page_path.size()));
  pageFile_ = QFileInfo(path).fileName();

  view_ = new QWebEngineView(this);
  webmap::PrepareMapView(*view_);
  page_ = new webmap::MapPage(webmap::ChooseTileSource(), view_);
  view_->setPage(page_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);

  stateTimer_ = new QTimer(this);
  stateTimer_->setInterval(kStatePollMs);
  connect(stateTimer_, &QTimer::timeout, this, &MapView::RefreshPageState);
  connect(page_, &QWebEnginePage::loadStarted, this, &MapView::OnLoadStarted);
  connect(page_, &QWebEnginePage::loadFinished, this, &MapView::OnLoadFinished);

  hide();
  const setup::PixelRect& r = profile.map_view;
  setGeometry(r.x, r.y, r.width, r.height);
  page_->load(QUrl(QStringLiteral("qrc:") + path));
}

MapView::~MapView() {
  // Calls still in flight answer when the page goes; let them find this object whole.
  delete view_;
  view_ = nullptr;
  page_ = nullptr;
}

void MapView::ShowMapPosition(double latitude, double longitude) {
  if (!IsMapPosition(latitude, longitude)) return;
  // The sensor record's "no fix" marker is not a place; the marker stays where it was.
  if (latitude == recording::kNoFixMarker && longitude == recording::kNoFixMarker) return;
  if (!loaded_) return;
  const float sentLatitude = static_cast<float>(latitude);
  const float sentLongitude = static_cast<float>(longitude);
  lastAnimate_ = std::array<float, 2>{sentLongitude, sentLatitude};
  Call(QStringLiteral("animate"), QJsonArray{double(sentLongitude), double(sentLatitude)});
}

void MapView::SetTrack(const std::vector<std::array<double, 2>>& latLng) {
  track_.clear();
  track_.reserve(latLng.size());
  for (const auto& p : latLng) {
    if (IsMapPosition(p[0], p[1])) track_.push_back(p);
  }
  trackSent_ = false;
  if (loaded_) SendTrack();
}

void MapView::SendTrack() {
  QJsonArray points;
  for (const auto& p : track_) points.append(QJsonArray{p[0], p[1]});
  Call(QStringLiteral("setTrack"), QJsonArray{points});
  trackSent_ = true;
}

void MapView::Call(const QString& function, const QJsonArray& arguments) {
  ++callsInFlight_;
  QPointer<MapView> self(this);
  webmap::CallPage(*page_, function, arguments, [self](const webmap::PageCallResult& result) {
    MapView* const view = self.data();
    if (view == nullptr) return;
    --view->callsInFlight_;
    if (!result.pageState.isEmpty()) view->pageState_ = result.pageState;
  });
}

void MapView::RefreshPageState() {
  if (!page_ || !loaded_) return;
  QPointer<MapView> self(this);
  webmap::ReadPageState(*page_, [self](const QVariantMap& state) {
    MapView* const view = self.data();
    if (view == nullptr) return;
    if (!state.isEmpty()) view->pageState_ = state;
    // Hidden, or given up on the tiles: the answers to the page calls keep the state fresh.
    const bool givenUp = view->shownFor_.isValid() && view->shownFor_.elapsed() > kStatePollLimitMs;
    if (view->PageStateFinal() || !view->isVisible() || givenUp) view->stateTimer_->stop();
  });
}

bool MapView::PageStateFinal() const {
  return pageState_.value("ready").toBool() && pageState_.value("tiles").toString() != QLatin1String("loading");
}

void MapView::OnLoadStarted() {
  loaded_ = false;
  failed_ = false;
  pageState_.clear();
  trackSent_ = false;
}

void MapView::OnLoadFinished(bool ok) {
  loaded_ = ok;
  failed_ = !ok;
  if (!ok) return;
  Call(QStringLiteral("setTexts"),
       QJsonArray{QString::fromStdString(language::LookupText(language::keys::kNoGpsPosition)),
                  QString::fromStdString(language::LookupText(language::keys::kMapTilesUnavailable))});
  if (!track_.empty()) SendTrack();
  RefreshPageState();
  stateTimer_->start();
}

void MapView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  shownFor_.start();
  // The page learns its size now and starts on its tiles; follow it until it settles.
  if (loaded_) stateTimer_->start();
}

bool MapView::Settled() const {
  if (failed_) return true;
  if (!loaded_) return false;
  if (!isVisible()) return true;  // nothing of it is on screen
  if (callsInFlight_ > 0 || !pageState_.value("ready").toBool()) return false;
  if (trackSent_ && pageState_.value("trackPoints").toInt() != int(track_.size())) return false;
  const bool tilesWaiting = pageState_.value("tiles").toString() == QLatin1String("loading");
  if (tilesWaiting && shownFor_.isValid() && shownFor_.elapsed() < kTileWaitMs) return false;
  return webmap::ShowsDrawnFrame(*view_);
}

QJsonObject MapView::State() const {
  const bool visible = parentWidget() ? isVisibleTo(parentWidget()) : isVisible();
  QJsonValue lastAnimate = QJsonValue::Null;
  if (lastAnimate_) lastAnimate = QJsonArray{double((*lastAnimate_)[0]), double((*lastAnimate_)[1])};
  return QJsonObject{{"visible", visible},
                     {"rect", RectArray(geometry())},
                     {"page", pageFile_},
                     {"loaded", loaded_},
                     {"lastAnimate", lastAnimate},
                     {"pageState", QJsonObject::fromVariantMap(pageState_)},
                     {"tileSource", webmap::TileSourceName(page_ ? page_->tiles() : webmap::ChooseTileSource())}};
}

}  // namespace display
