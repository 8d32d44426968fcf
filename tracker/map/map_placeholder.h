#pragma once

#include <QPixmap>
#include <QString>

#include <vector>

#include "tracker/log/route_encoding.h"

class QPainter;
#include "tracker/map/map_area.h"

namespace tracker {

// Stands in for the web map until the page host arrives: draws the route of the last Show row
// on a plain grid with its start, end and the marker, so the window can be used and checked
// without a browser.
class MapPlaceholder : public MapArea {
 public:
  explicit MapPlaceholder(QWidget* parent);

  void LoadPage(int language_index) override;
  void Call(const PageCall& call) override;
  bool Settled() const override { return true; }
  QJsonObject State() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString Value(const PageCall& call, const char* id) const;
  void Draw(QPainter& painter);

  int language_ = 0;
  std::vector<RoutePoint> route_;
  bool with_line_ = true;
  QString start_time_;
  QString end_time_;
  bool has_marker_ = false;
  RoutePoint marker_;
  QString marker_time_;
  bool show_time_ = false;
  QString last_trigger_;
  int calls_ = 0;
  int version_ = 0;  // counts what changed the picture
  QPixmap picture_;
  int picture_version_ = -1;
};

}  // namespace tracker
