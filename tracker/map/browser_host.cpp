#include "tracker/map/browser_host.h"

#include <QJsonArray>
#include <QPrintDialog>
#include <QPrinter>
#include <QShowEvent>
#include <QTimer>
#include <QWebEngineView>

#include "common/webmap/map_page.h"
#include "common/webmap/page_call.h"
#include "common/webmap/page_drawn.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/settings/language_table.h"

namespace tracker {
namespace {

// How often the page's state is read back while its tiles are still answering.
constexpr int kStatePollMs = 100;
// A screenshot waits this long at most for the first tiles; the route and the marker show
// without them.
constexpr qint64 kTileWaitMs = 4000;
constexpr qint64 kStatePollLimitMs = 10000;

// The marker's elements are looked up once and kept (the replay moves it every tick).
constexpr char kMarkerTrigger[] = "map_pointmove";
constexpr char kMarkerKeep[] = "marker";

bool AskPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

QJsonObject CallObject(const PageCall& call) {
  QJsonObject values;
  for (const auto& [id, text] : call.values) {
    values.insert(QString::fromUtf8(id.data(), qsizetype(id.size())),
                  QString::fromUtf8(text.data(), qsizetype(text.size())));
  }
  return QJsonObject{{"values", values}, {"trigger", QString::fromStdString(call.trigger)}};
}

}  // namespace

BrowserHost::BrowserHost(const QRect& geometry, QWidget* parent, webmap::TileSource tiles)
    : QWidget(parent), tiles_(std::move(tiles)), printerSetup_(AskPrintDialog) {
  setObjectName(QStringLiteral("MyBrowserView"));
  setGeometry(geometry);
  // The plain background shows until the page has drawn.
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0x1b, 0x1e, 0x23));
  setPalette(p);

  playbackTimer_ = new QTimer(this);
  playbackTimer_->setObjectName(QStringLiteral("playback-%1").arg(kPlaybackTimerId));
  playbackTimer_->setTimerType(Qt::PreciseTimer);
  playbackTimer_->setInterval(kPlaybackPeriodMs);
  connect(playbackTimer_, &QTimer::timeout, this, &BrowserHost::PlaybackTick);

  stateTimer_ = new QTimer(this);
  stateTimer_->setInterval(kStatePollMs);
  connect(stateTimer_, &QTimer::timeout, this, &BrowserHost::RefreshPageState);
}

BrowserHost::~BrowserHost() { Unembed(); }

int BrowserHost::Embed() {
  if (view_) return kHostOk;
  if (width() <= 0 || height() <= 0) return kHostNotPlaced;
  view_ = new QWebEngineView(this);
  webmap::PrepareMapView(*view_);
  page_ = new webmap::MapPage(tiles_, view_);
  for (auto it = pageConfig_.begin(); it != pageConfig_.end(); ++it) page_->SetConfigValue(it.key(), it.value());
  InstallBridge(*page_);
  view_->setPage(page_);
  view_->setGeometry(0, 0, width(), height());
  connect(page_, &QWebEnginePage::loadStarted, this, &BrowserHost::OnLoadStarted);
  connect(page_, &QWebEnginePage::loadFinished, this, &BrowserHost::OnLoadFinished);
  connect(view_, &QWebEngineView::printRequested, this, &BrowserHost::OnPrintRequested);
  connect(view_, &QWebEngineView::printFinished, this, [this](bool ok) {
    printer_.reset();
    if (ok) ++prints_;
    emit Printed(ok);
  });
  view_->show();
  if (isVisible()) shownFor_.start();
  return kHostOk;
}

void BrowserHost::Unembed() {
  if (!view_) return;
  ++generation_;
  callsInFlight_ = 0;
  loaded_ = false;
  failed_ = false;
  stateTimer_->stop();
  QWebEngineView* view = view_;
  view_ = nullptr;
  page_ = nullptr;
  // Answers still on their way find the host without a page and report nothing.
  delete view;
  printer_.reset();
}

int BrowserHost::Navigate(const QString& address) {
  if (!view_) return kHostNoBrowser;
  const QUrl url(address, QUrl::StrictMode);
  if (address.isEmpty() || !url.isValid() || url.isRelative()) return kHostBadAddress;
  requested_ = url;
  // The old document is on its way out: nothing more goes to it.
  OnLoadStarted();
  page_->load(url);
  return kHostOk;
}

QWebEnginePage* BrowserHost::Document() const { return loaded_ ? page_ : nullptr; }

void BrowserHost::SetPageConfig(const QString& key, const QJsonValue& value) {
  pageConfig_.insert(key, value);
  if (page_) page_->SetConfigValue(key, value);
}

void BrowserHost::SetPageTexts(const TrackerProfile& profile) {
  QJsonArray languages;
  for (int index = 0; index < kLanguageCount; ++index) {
    QJsonArray texts;
    for (std::string_view text : TextsOf(index, profile)) {
      texts.append(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    languages.append(texts);
  }
  SetPageConfig(QStringLiteral("texts"), languages);
}

int BrowserHost::SetValuesAndClick(const PageCall& call, const QString& keep, CallDone done) {
  if (call.values.empty() && call.trigger.empty()) return kHostNothingToSet;
  QWebEnginePage* page = Document();
  if (!page) return kHostNoBrowser;
  ++callsInFlight_;
  ++calls_;
  lastCall_ = CallObject(call);
  QPointer<BrowserHost> self(this);
  const int generation = generation_;
  webmap::CallPage(*page, QString::fromLatin1(kBridgeFunction), QJsonArray{BridgeRequest(call, keep)},
                   [self, generation, done = std::move(done)](const webmap::PageCallResult& result) {
                     BrowserHost* const host = self.data();
                     const bool current = host != nullptr && host->generation_ == generation;
                     if (current) {
                       --host->callsInFlight_;
                       if (!result.pageState.isEmpty()) host->pageState_ = result.pageState;
                       // Follow the page until it has drawn what it was given.
                       if (!host->stateTimer_->isActive()) host->stateTimer_->start();
                     }
                     if (done) done(current ? ReadBridgeAnswer(result.returned) : BridgeAnswer{});
                   });
  return kHostOk;
}

int BrowserHost::LoadPage(int language_index) {
  return Navigate(QString::fromStdString(PageAddress(kMapPageAddress, language_index)));
}

int BrowserHost::Call(const PageCall& call, CallDone done) {
  const QString keep = call.trigger == kMarkerTrigger ? QString::fromLatin1(kMarkerKeep) : QString();
  return SetValuesAndClick(call, keep, std::move(done));
}

void BrowserHost::StartPlaybackTimer() { playbackTimer_->start(); }

void BrowserHost::StopPlaybackTimer() { playbackTimer_->stop(); }

bool BrowserHost::playbackTimerActive() const { return playbackTimer_->isActive(); }

void BrowserHost::OnLoadStarted() {
  // Whatever the old document kept (the marker's elements) went with it.
  ++generation_;
  callsInFlight_ = 0;
  loaded_ = false;
  failed_ = false;
  pageState_.clear();
}

void BrowserHost::OnLoadFinished(bool ok) {
  loaded_ = ok;
  failed_ = !ok;
  if (ok) {
    RefreshPageState();
    stateTimer_->start();
  }
  emit PageLoaded(ok);
}

void BrowserHost::RefreshPageState() {
  if (!page_ || !loaded_) return;
  QPointer<BrowserHost> self(this);
  const int generation = generation_;
  webmap::ReadPageState(*page_, [self, generation](const QVariantMap& state) {
    BrowserHost* const host = self.data();
    if (host == nullptr || host->generation_ != generation) return;
    if (!state.isEmpty()) host->pageState_ = state;
    const bool tilesWaiting = host->pageState_.value("tiles").toString() == QLatin1String("loading");
    const bool drawing = host->pageState_.value("drawn").toInt() < host->pageState_.value("calls").toInt();
    const bool givenUp = host->shownFor_.isValid() && host->shownFor_.elapsed() > kStatePollLimitMs;
    // Tiles that never answer are given up on; a picture that is still being drawn is not. A
    // page without a state has nothing to follow.
    const bool settled = host->pageState_.value("ready").toBool() && !drawing && (!tilesWaiting || givenUp);
    if (settled || state.isEmpty() || !host->isVisible()) {
      host->stateTimer_->stop();
    }
  });
}

void BrowserHost::OnPrintRequested() {
  if (!view_ || printer_) return;  // one print at a time
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!printerSetup_ || !printerSetup_(*printer, window())) {
    emit Printed(false);
    return;
  }
  printer_ = std::move(printer);
  view_->print(printer_.get());
}

void BrowserHost::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  shownFor_.start();
  // The page learns its size now and starts on its tiles; follow it until it settles.
  if (loaded_) stateTimer_->start();
}

bool BrowserHost::Settled(bool replaying) const {
  if (!view_ || failed_) return true;
  if (!loaded_) return false;
  if (!isVisible()) return true;  // nothing of it is on screen
  if (callsInFlight_ > (replaying ? 1 : 0) || !pageState_.value("ready").toBool()) return false;
  // The answer comes before the picture: wait for the frame of the last call (the replay
  // moves on meanwhile).
  if (!replaying && pageState_.value("drawn").toInt() < pageState_.value("calls").toInt()) return false;
  const bool tilesWaiting = pageState_.value("tiles").toString() == QLatin1String("loading");
  if (tilesWaiting && shownFor_.isValid() && shownFor_.elapsed() < kTileWaitMs) return false;
  return webmap::ShowsDrawnFrame(*view_);
}

QJsonObject BrowserHost::State() const {
  const QUrl url = page_ && !page_->url().isEmpty() ? page_->url() : requested_;
  return QJsonObject{{"url", url.toString()},
                     {"loaded", loaded_},
                     {"lastCall", lastCall_.isEmpty() ? QJsonValue() : QJsonValue(lastCall_)},
                     {"pageState", QJsonObject::fromVariantMap(pageState_)},
                     {"embedded", embedded()},
                     {"rect", QJsonArray{x(), y(), width(), height()}},
                     {"calls", calls_},
                     {"prints", prints_},
                     {"tileSource", webmap::TileSourceName(tiles_)}};
}

}  // namespace tracker
