#pragma once

#include <QJsonObject>
#include <QRect>
#include <QWidget>

#include "tracker/map/page_values.h"

namespace tracker {

// The main window's map area: the page that shows the selected row's route and the replay
// marker. The window only ever talks to it through these calls, so the page host can change
// without the window noticing.
class MapArea : public QWidget {
 public:
  using QWidget::QWidget;

  // Loads the page for a language (index 0-11, the page's `lang`); also used to empty it.
  virtual void LoadPage(int language_index) = 0;
  // Hands a call's values to the page in their order and clicks its trigger (Show row, Move
  // marker, Change language, Print).
  virtual void Call(const PageCall& call) = 0;
  // The page has loaded or failed to: a screenshot may be taken.
  virtual bool Settled() const = 0;
  // What the page last drew, for the window's --state.
  virtual QJsonObject State() const = 0;
};

// The map area as a child of `parent` at `geometry` (window pixels), named `MyBrowserView`.
MapArea* CreateMapArea(QWidget* parent, const QRect& geometry);

}  // namespace tracker
