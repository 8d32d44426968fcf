#pragma once

// The tracker's map area: our map page in an embedded web view, driven only by setting element
// values and clicking trigger elements through the page bridge. It also carries the playback
// timer, as the map area is what the replay moves.
#include <QElapsedTimer>
#include <QJsonObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>

#include "common/webmap/tile_source.h"
#include "tracker/map/page_bridge.h"
#include "tracker/map/page_values.h"

class QPrinter;
class QTimer;
class QWebEnginePage;
class QWebEngineView;

namespace webmap {
class MapPage;
}

namespace tracker {

struct TrackerProfile;

// Result codes of the host's operations.
inline constexpr int kHostOk = 0;
inline constexpr int kHostNothingToSet = -1;  // a page call with neither values nor a trigger
inline constexpr int kHostNotPlaced = -3;     // Embed: the area has no room to show it in
inline constexpr int kHostNoBrowser = -5;     // nothing embedded, or no document loaded yet
inline constexpr int kHostBadAddress = -6;    // Navigate: not an address the view can load

// The playback timer: its id and its period.
inline constexpr int kPlaybackTimerId = 1234;
inline constexpr int kPlaybackPeriodMs = 3;

// The page in the resources; loaded as "qrc:/map_ex.html?lang=N".
inline constexpr char kMapPageAddress[] = "qrc:/map_ex.html";

class BrowserHost : public QWidget {
  Q_OBJECT
 public:
  // A child of `parent` at `geometry`, named MyBrowserView, with nothing embedded yet.
  BrowserHost(const QRect& geometry, QWidget* parent, webmap::TileSource tiles = webmap::ChooseTileSource());
  ~BrowserHost() override;

  // Creates the web view with our page settings and the bridge, filling the area as it is
  // now (a later resize leaves it as it was). kHostOk, also when already embedded.
  int Embed();
  // Closes the view; calls still waiting for the page are answered as unanswered.
  void Unembed();
  bool embedded() const { return view_ != nullptr; }

  // Loads `address`: kHostOk, kHostNoBrowser, kHostBadAddress.
  int Navigate(const QString& address);
  // The loaded document, or nothing while it loads, failed to, or nothing is embedded.
  QWebEnginePage* Document() const;

  // Adds a value to the page's configuration from the next load on.
  void SetPageConfig(const QString& key, const QJsonValue& value);
  // The page's labels in the 12 languages, as `profile`'s build words them ("texts").
  void SetPageTexts(const TrackerProfile& profile);

  // Set values and click: hands `call` to the bridge, which walks the document from its last
  // element, or sets the elements kept under `keep` when there are any. kHostOk when sent
  // (`done` hears the bridge's answer later, on this thread, in the order of the calls),
  // kHostNothingToSet, kHostNoBrowser.
  using CallDone = std::function<void(const BridgeAnswer&)>;
  int SetValuesAndClick(const PageCall& call, const QString& keep = {}, CallDone done = {});

  // The page calls the window makes:
  // Load page: the map page with `language_index`'s texts.
  int LoadPage(int language_index);
  // Any call of the page (Show row, Move marker, Change language, Print); Move marker keeps
  // the elements it found for the next marker calls.
  int Call(const PageCall& call, CallDone done = {});

  int callsInFlight() const { return callsInFlight_; }

  // The playback timer: a PlaybackTick every kPlaybackPeriodMs while it runs.
  void StartPlaybackTimer();
  void StopPlaybackTimer();
  bool playbackTimerActive() const;

  // Printing: the page's print request asks `setup` for the printer (the print dialog unless
  // set otherwise); false cancels.
  using PrinterSetup = std::function<bool(QPrinter& printer, QWidget* parent)>;
  void SetPrinterSetup(PrinterSetup setup) { printerSetup_ = std::move(setup); }

  // The page has loaded or failed, nothing is waiting for it, and what it was given is on
  // screen: a screenshot may be taken. True when nothing is embedded. While `replaying`, the
  // replay's marker on its way does not count as waiting.
  bool Settled(bool replaying = false) const;

  // The --state "map" object: url, loaded, lastCall {values, trigger}, pageState, and the
  // area's embedded, rect, calls and prints.
  QJsonObject State() const;

 signals:
  void PlaybackTick();
  void PageLoaded(bool ok);
  void Printed(bool ok);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnLoadStarted();
  void OnLoadFinished(bool ok);
  void OnPrintRequested();
  void RefreshPageState();

  webmap::TileSource tiles_;
  QJsonObject pageConfig_;
  QWebEngineView* view_ = nullptr;
  webmap::MapPage* page_ = nullptr;
  QTimer* playbackTimer_ = nullptr;
  QTimer* stateTimer_ = nullptr;

  QUrl requested_;
  bool loaded_ = false;
  bool failed_ = false;
  int generation_ = 0;  // a new one with every load and every Unembed
  int callsInFlight_ = 0;
  int calls_ = 0;
  QJsonObject lastCall_;
  QVariantMap pageState_;
  QElapsedTimer shownFor_;

  PrinterSetup printerSetup_;
  std::unique_ptr<QPrinter> printer_;
  int prints_ = 0;
};

}  // namespace tracker
