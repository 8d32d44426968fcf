#pragma once

#include <QJsonObject>
#include <QWidget>

#include <array>
#include <vector>

#include "manager/setup/profile.h"

namespace display {

// The map view beside the video. This is the placeholder the main window is built against: it
// keeps what it is told and shows nothing; the map page replaces it.
class GoogleMap : public QWidget {
 public:
  // A child of the main window at profile.map_view, hidden until the window shows it.
  GoogleMap(const setup::Profile& profile, QWidget* parent);
  // a = latitude, b = longitude in degrees, or (1.0, 1.0) for "no position"; calls the page's animate(b, a).
  void ShowMapPosition(double a, double b);
  // The opened recording's valid fixes (latitude, longitude), handed over once per opened recording; empty clears.
  void SetTrack(const std::vector<std::array<double, 2>>& latLng);
  bool Settled() const;       // the page has loaded or failed: a screenshot may be taken
  QJsonObject State() const;  // the main window's --state "map" object

 private:
  std::array<double, 2> last_{0.0, 0.0};
  int calls_ = 0;
  std::size_t trackPoints_ = 0;
};

}  // namespace display
