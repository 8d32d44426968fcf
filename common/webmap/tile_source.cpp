#include "common/webmap/tile_source.h"

#include <QUrl>
#include <QtGlobal>

namespace webmap {
namespace {

constexpr char kNoTiles[] = "none";

// A source the program does not know: name the server, since its terms are unknown here.
TileSource CustomTiles(const QString& urlTemplate) {
  TileSource source;
  source.urlTemplate = urlTemplate;
  QString host = QUrl(QString(urlTemplate).replace("{s}", "a")).host();
  source.attribution = host.isEmpty() ? QString() : "Tiles: " + host;
  return source;
}

// Reads one override; false when it says nothing usable and the next one should be asked.
bool ReadOverride(const QString& value, const char* where, TileSource& out) {
  const QString trimmed = value.trimmed();
  if (trimmed.isEmpty()) return false;
  if (trimmed.compare(kNoTiles, Qt::CaseInsensitive) == 0) {
    out = TileSource{};
    return true;
  }
  if (!IsUsableTileTemplate(trimmed)) {
    // The user asked for another server: falling back to the default one would send the map's
    // whereabouts where they did not want them. No tiles, and the page says it is offline.
    qWarning("webmap: no tiles, the tile address from %s is not an http(s) {z}/{x}/{y} template: %s", where,
             qPrintable(trimmed));
    out = TileSource{};
    out.rejected = true;
    return true;
  }
  out = CustomTiles(trimmed);
  return true;
}

}  // namespace

TileSource OpenStreetMapTiles() {
  return TileSource{"https://tile.openstreetmap.org/{z}/{x}/{y}.png", QString::fromUtf8("© OpenStreetMap contributors"),
                    "https://www.openstreetmap.org/copyright", 19};
}

bool IsUsableTileTemplate(const QString& urlTemplate) {
  if (!urlTemplate.contains("{z}") || !urlTemplate.contains("{x}") || !urlTemplate.contains("{y}")) return false;
  // Fill the placeholders in before parsing, so the braces do not spoil the address.
  QString sample = urlTemplate;
  sample.replace("{z}", "1").replace("{x}", "2").replace("{y}", "3").replace("{s}", "a").replace("{r}", "");
  const QUrl url(sample, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) return false;
  const QString scheme = url.scheme().toLower();
  return scheme == "http" || scheme == "https";
}

QString TileSourceName(const TileSource& source) {
  return source.hasTiles() ? source.urlTemplate : QString::fromLatin1(kNoTiles);
}

TileSource ChooseTileSource(const QString& setting) {
  TileSource source;
  if (ReadOverride(qEnvironmentVariable(kTileUrlVariable), kTileUrlVariable, source)) return source;
  if (ReadOverride(setting, "the settings", source)) return source;
  return OpenStreetMapTiles();
}

}  // namespace webmap
