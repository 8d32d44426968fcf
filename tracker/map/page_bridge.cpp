#include "tracker/map/page_bridge.h"

#include <QFile>
#include <QJsonArray>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace tracker {
namespace {

constexpr char kBridgeScriptName[] = "tracker-page-bridge";

QString BridgeSource() {
  QFile file(QStringLiteral(":/tracker_map/page_bridge.js"));
  if (!file.open(QIODevice::ReadOnly)) qFatal("the page bridge is missing from the resources");
  return QString::fromUtf8(file.readAll());
}

// The page's texts are the system's text: UTF-8 here. Invalid bytes (a field cut in the middle
// of a character) show as replacement characters rather than vanishing.
QString PageText(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

void InstallBridge(QWebEnginePage& page) {
  static const QString source = BridgeSource();
  QWebEngineScriptCollection& scripts = page.scripts();
  for (const QWebEngineScript& old : scripts.find(kBridgeScriptName)) scripts.remove(old);
  QWebEngineScript script;
  script.setName(kBridgeScriptName);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  script.setSourceCode(source);
  scripts.insert(script);
}

QJsonObject BridgeRequest(const PageCall& call, const QString& keep) {
  QJsonArray ids;
  QJsonArray values;
  for (const auto& [id, text] : call.values) {
    ids.append(PageText(id));
    values.append(PageText(text));
  }
  return QJsonObject{{"ids", ids}, {"values", values}, {"trigger", PageText(call.trigger)}, {"keep", keep}};
}

BridgeAnswer ReadBridgeAnswer(const QVariant& returned) {
  BridgeAnswer answer;
  if (returned.typeId() != QMetaType::QVariantMap) return answer;
  const QVariantMap map = returned.toMap();
  answer.answered = true;
  answer.walked = map.value("walked").toBool();
  answer.visited = map.value("visited").toInt();
  answer.matches = map.value("matches").toInt();
  answer.clicked = map.value("clicked").toBool();
  answer.kept = map.value("kept").toBool();
  answer.set = map.value("set").toStringList();
  return answer;
}

}  // namespace tracker
