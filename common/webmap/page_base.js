// The base every map page of the programs is built on: one Leaflet map with the configured
// tiles, the attribution, a scale, and a plain background that carries the page when the tiles
// cannot be had. It keeps window.pageState, which the programs read for their --state output
// and the tests read back; pages add their own fields to it.
//
// Configuration arrives as window.webmapConfig before this script runs (MapPage injects it):
//   {tiles: {url, attribution, attributionUrl, maxZoom, rejected}, ...whatever the program adds}
(function () {
  'use strict';

  var config = window.webmapConfig || {};
  var tiles = config.tiles || {};

  var state = window.pageState = window.pageState || {};
  state.ready = false;
  // "loading" only until the first set of tiles has answered.
  state.tiles = tiles.url ? 'loading' : 'offline';

  // The page's own words; a program replaces them with its language's (webmap.setTexts).
  var webmap = window.webmap = {config: config, map: null, texts: {tilesUnavailable: 'Map tiles unavailable'}};

  function isNumber(v) {
    return typeof v === 'number' && isFinite(v);
  }

  // A position the page can draw: finite degrees within range.
  webmap.isLatLng = function (lat, lng) {
    return isNumber(lat) && isNumber(lng) && lat >= -90 && lat <= 90 && lng >= -180 && lng <= 180;
  };

  // [[lat, lng], ...] with everything that is not a drawable position left out.
  webmap.cleanLatLngs = function (points) {
    var out = [];
    if (!Array.isArray(points)) return out;
    for (var i = 0; i < points.length; ++i) {
      var p = points[i];
      if (Array.isArray(p) && p.length >= 2 && webmap.isLatLng(p[0], p[1])) out.push([p[0], p[1]]);
    }
    return out;
  };

  // The position marker on `map`: a dot of `fill` with a `rim`, made on first use (pass null),
  // moved to `latlng`, shown and kept above the routes. Returns the marker to pass next time.
  webmap.placePositionMarker = function (map, marker, latlng, fill, rim) {
    if (!marker) {
      marker = L.circleMarker(latlng, {
        radius: 7, color: rim, weight: 2, fillColor: fill, fillOpacity: 1, interactive: false
      });
    }
    marker.setLatLng(latlng);
    if (!map.hasLayer(marker)) marker.addTo(map);
    marker.bringToFront();
    return marker;
  };

  // Text for the page's HTML, never markup.
  webmap.escapeHtml = function (text) {
    return String(text).replace(/[&<>"']/g, function (c) {
      return {'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;'}[c];
    });
  };

  // The plain background: a faint grid of tile borders that moves with the map, so a route
  // drawn on it still shows movement and scale.
  var PlainLayer = L.GridLayer.extend({
    createTile: function () {
      var tile = document.createElement('div');
      tile.className = 'webmap-plain-tile';
      return tile;
    }
  });

  // A small note in the corner while the tiles are missing.
  var OfflineNote = L.Control.extend({
    options: {position: 'topright'},
    onAdd: function () {
      var note = L.DomUtil.create('div', 'webmap-note');
      note.textContent = webmap.texts.tilesUnavailable;
      return note;
    }
  });

  function attributionHtml() {
    if (!tiles.attribution) return '';
    var text = webmap.escapeHtml(tiles.attribution);
    if (/^https?:\/\//.test(tiles.attributionUrl || '')) {
      return '<a href="' + webmap.escapeHtml(tiles.attributionUrl) + '">' + text + '</a>';
    }
    return text;
  }

  var resizeListeners = [];
  // `listener` runs after the map's size has changed (the view was shown or resized), once the
  // map has taken the new size: the place to fit the view again.
  webmap.onResize = function (listener) {
    resizeListeners.push(listener);
  };

  // Creates the map in the element `id`. Options: zoomControl (default true), scale
  // ("both", "metric" or "none"), center and zoom for the first view.
  webmap.createMap = function (id, options) {
    options = options || {};
    var map = L.map(id, {
      zoomControl: options.zoomControl !== false,
      attributionControl: true,
      worldCopyJump: true,
      maxZoom: tiles.maxZoom || 19,
      fadeAnimation: false
    });
    webmap.map = map;
    map.attributionControl.setPrefix(false);
    new PlainLayer({pane: 'tilePane', zIndex: 0}).addTo(map);

    var note = new OfflineNote();
    var noteShown = false;
    function setTiles(value) {
      state.tiles = value;
      // Also when the address asked for was refused; not when no tiles were asked for.
      var offline = value === 'offline' && (!!tiles.url || !!tiles.rejected);
      map.getContainer().classList.toggle('webmap-offline', value === 'offline');
      if (offline !== noteShown) {
        if (offline) note.addTo(map); else note.remove();
        noteShown = offline;
      }
    }

    if (tiles.url) {
      var layer = L.tileLayer(tiles.url, {
        maxZoom: tiles.maxZoom || 19,
        attribution: attributionHtml(),
        zIndex: 1
      });
      var loaded = 0;
      layer.on('loading', function () { loaded = 0; });
      layer.on('tileload', function () {
        ++loaded;
        setTiles('online');
      });
      layer.on('tileerror', function (e) {
        // A broken image would hide the plain background; let it show through.
        if (e.tile) e.tile.style.visibility = 'hidden';
      });
      layer.on('load', function () { setTiles(loaded > 0 ? 'online' : 'offline'); });
      layer.addTo(map);
    } else {
      setTiles('offline');
    }

    if (options.scale !== 'none') {
      L.control.scale({metric: true, imperial: options.scale !== 'metric', maxWidth: 90}).addTo(map);
    }

    var lastSize = {x: 0, y: 0};
    window.addEventListener('resize', function () {
      map.invalidateSize({pan: false});
      var size = map.getSize();
      if (size.x === lastSize.x && size.y === lastSize.y) return;
      lastSize = size;
      resizeListeners.forEach(function (listener) { listener(size); });
    });
    lastSize = map.getSize();

    map.setView(options.center || [20, 0], options.zoom === undefined ? 1 : options.zoom);
    return map;
  };

  // Called by the page once everything it draws at start is in place.
  webmap.markReady = function () {
    state.ready = true;
  };
})();
