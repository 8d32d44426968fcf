#include "manager/display/google_map.h"

#include <QJsonArray>

namespace display {

GoogleMap::GoogleMap(const setup::Profile& profile, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("179"));
  const auto& place = profile.map_view;
  setGeometry(place.x, place.y, place.width, place.height);
  hide();
}

void GoogleMap::ShowMapPosition(double a, double b) {
  last_ = {a, b};
  ++calls_;
}

void GoogleMap::SetTrack(const std::vector<std::array<double, 2>>& latLng) { trackPoints_ = latLng.size(); }

bool GoogleMap::Settled() const { return true; }

QJsonObject GoogleMap::State() const {
  return {{"placeholder", true},
          {"calls", calls_},
          {"lastPosition", QJsonArray{last_[0], last_[1]}},
          {"trackPoints", static_cast<qint64>(trackPoints_)}};
}

}  // namespace display
