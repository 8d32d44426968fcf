#pragma once

// Where a map page gets its tiles from.
#include <QString>

namespace webmap {

struct TileSource {
  QString urlTemplate;     // http(s) with {z}, {x} and {y} ({s} allowed); empty: no tiles at all
  QString attribution;     // plain text shown in the map's corner
  QString attributionUrl;  // where the attribution links to; may be empty
  int maxZoom = 19;
  bool rejected = false;  // no tiles because the address asked for was unusable: the page says so

  bool hasTiles() const { return !urlTemplate.isEmpty(); }
};

// Overrides the tile server for one run: a {z}/{x}/{y} template, or "none" for no tiles.
inline constexpr char kTileUrlVariable[] = "BLACKBOX_TILE_URL";

// OpenStreetMap's standard tiles, with the attribution their licence asks for.
TileSource OpenStreetMapTiles();

// A template a page can load tiles from: http or https, with {z}, {x} and {y}.
bool IsUsableTileTemplate(const QString& urlTemplate);

// The tiles to use: BLACKBOX_TILE_URL when it is set, else the program's setting when it is
// not empty, else OpenStreetMap. "none" in either place means no tiles (the plain background),
// and so does a value that is not a usable template (with a warning on the log): an address
// the user gave is never swapped for another server.
TileSource ChooseTileSource(const QString& setting = {});

// The source as the programs' --state names it: the address template, or "none".
QString TileSourceName(const TileSource& source);

}  // namespace webmap
