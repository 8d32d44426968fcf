#pragma once

// The map under the small video window: our own page (map2.html in the two-channel build,
// map.html in the others) in an embedded web view, told where the car is twice a second and
// handed the opened recording's drive once.
#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

#include "manager/setup/profile.h"

class QTimer;
class QWebEngineView;

namespace webmap {
class MapPage;
}

namespace display {

class MapView : public QWidget {
  Q_OBJECT
 public:
  // A child of the main window at profile.map_view, hidden until the window shows it.
  MapView(const setup::Profile& profile, QWidget* parent);
  ~MapView() override;

  // Degrees, or (1.0, 1.0) for "no position"; calls the page's animate(longitude, latitude)
  // with both narrowed to single precision. Does nothing, and never waits, while
  // the page is not loaded. A position that is not finite, lies off the globe or is the sensor
  // record's no-fix marker (-9, -9) is dropped.
  void ShowMapPosition(double latitude, double longitude);

  // The opened recording's valid fixes (latitude, longitude), handed over once per opened
  // recording; empty clears. Kept until the page has loaded when it is still loading.
  void SetTrack(const std::vector<std::array<double, 2>>& latLng);

  // The page has loaded or failed, and when the view is shown it has drawn what it was given:
  // a screenshot may be taken.
  bool Settled() const;

  // The main window's --state "map" object: visible, rect, page, loaded, lastAnimate,
  // pageState.
  QJsonObject State() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnLoadStarted();
  void OnLoadFinished(bool ok);
  void SendTrack();
  void Call(const QString& function, const QJsonArray& arguments);
  void RefreshPageState();
  bool PageStateFinal() const;

  QWebEngineView* view_ = nullptr;
  webmap::MapPage* page_ = nullptr;
  QTimer* stateTimer_ = nullptr;
  QString pageFile_;

  bool loaded_ = false;
  bool failed_ = false;
  int callsInFlight_ = 0;
  std::optional<std::array<float, 2>> lastAnimate_;  // as sent: (longitude, latitude)
  std::vector<std::array<double, 2>> track_;
  bool trackSent_ = false;
  QVariantMap pageState_;
  QElapsedTimer shownFor_;
};

}  // namespace display
