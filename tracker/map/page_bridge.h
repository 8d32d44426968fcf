#pragma once

// The bridge between the program's page calls and a map page: a script of ours injected into
// every page the map view loads, which sets element values by id and clicks a trigger element
// (see page_bridge.js). Here: installing it, and the request and answer that cross over.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "tracker/map/page_values.h"

class QWebEnginePage;

namespace tracker {

// The page function the bridge defines.
inline constexpr char kBridgeFunction[] = "trackerSetValuesAndClick";

// Installs the bridge into `page`: from the next load on, it is there before the page's own
// scripts run.
void InstallBridge(QWebEnginePage& page);

// The request for one call: ids and values in the call's order, the trigger, and the name
// under which the elements found are kept for later calls (empty: walk every time).
QJsonObject BridgeRequest(const PageCall& call, const QString& keep = {});

// What the bridge did.
struct BridgeAnswer {
  bool answered = false;  // the bridge ran (false: no page, no bridge, or the page went away)
  bool walked = false;    // it walked the document (false: it used kept elements)
  int visited = 0;        // elements looked at by the walk
  int matches = 0;        // elements set, plus the trigger when found
  bool clicked = false;   // the trigger was clicked
  bool kept = false;      // the elements set are kept (or were kept already)
  QStringList set;        // the ids it found and set
};
BridgeAnswer ReadBridgeAnswer(const QVariant& returned);

}  // namespace tracker
