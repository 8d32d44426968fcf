// The tracker's map page. The program sets the values of the page's hidden elements and clicks
// one trigger element:
//   init_data          a day or drive row: its route (map_path, with map_levels when sent),
//                      start and end, and an information box with its figures and texts
//   init_data_no_line  a parking stop: one marker with its box
//   map_pointmove      the replay marker (map_latitude, map_longitude, map_zoomlevel, map_day,
//                      map_time, map_showtime)
//   onChangeLanguage   map_language: one character, '0' plus the language index
//   onPrint            prints the page
// Labels come in the 12 languages from window.webmapConfig.texts (24 texts per language, as
// the program's language table holds them), English when the program sent none.
//
// window.pageState adds: trigger (last clicked), values (id -> value as read for it),
// routePoints (vertices decoded from map_path), routeShown (vertices drawn at this zoom),
// marker [lat, lng] or null, markerTime (the text beside it) or null, language, info (the
// box's lines as shown), prints; calls (triggers answered) and drawn (how many of them have
// reached the screen), so a screenshot can wait for the picture of the last one.
(function () {
  'use strict';

  var COLORS = {
    casing: '#1b1e23',
    route: '#f2a900',
    marker: '#3d8bfd',
    start: '#30a46c',
    end: '#e5484d',
    parking: '#f2a900',
    rim: '#ffffff'
  };

  var ENGLISH = [
    'Date', 'Driver', 'Purpose', 'Memo', 'Start', 'End', 'Driving Information', 'Total Distance',
    'Driving Time', 'Stopped Duration', 'Average Speed', 'Maximum Speed', 'Trip Information', 'km/h',
    'mile/h', 'hh/mm/ss', 'km', 'mile', 'Notice', 'Log File Format Not Found!', 'DST(Daylight Saving Time)',
    'One Day', 'Driving', 'Parking'
  ];
  var LANGUAGES = 12;

  // Item numbers of the language table.
  var T = {
    driver: 2, purpose: 3, memo: 4, start: 5, end: 6, drivingInformation: 7, totalDistance: 8,
    drivingTime: 9, stoppedDuration: 10, averageSpeed: 11, maximumSpeed: 12, tripInformation: 13,
    kmh: 14, mileh: 15, hhmmss: 16, km: 17, mile: 18, parking: 24
  };

  var ROW_IDS = ['start_lat', 'start_lng', 'start_time', 'end_lat', 'end_lng', 'end_time', 'map_path',
                 'map_levels', 'total_Distance', 'total_Time', 'total_StopTime', 'averageSpeed', 'maxSpeed',
                 'driver', 'purpose', 'comment'];
  var MARKER_IDS = ['map_latitude', 'map_longitude', 'map_zoomlevel', 'map_day', 'map_time', 'map_showtime'];

  // The route's zoom levels: a vertex of level L shows from zoom 17 - L on ('P' = 17 always).
  var TOP_LEVEL = 17;
  var KILOMETRES_PER_RADIAN = 6378;
  var MILES_PER_RADIAN = 3963;
  var KMH_PER_KNOT = 1.852;
  var MPH_PER_KNOT = 1.152;

  var state = window.pageState;
  state.trigger = null;
  state.values = {};
  state.routePoints = 0;
  state.routeShown = 0;
  state.marker = null;
  state.markerTime = null;
  state.language = 0;
  state.info = null;
  state.prints = 0;
  state.calls = 0;
  state.drawn = 0;

  var map = null;
  var info = null;  // the information box's element
  var shown = null;  // what the last row trigger drew: {withLine, values, route}
  var routeLayers = null;  // casing and line
  var rowLayer = null;  // start, end or parking marks
  var rowBounds = null;
  var marker = null;
  var markerTime = null;  // the text element beside the marker
  var viewChosen = false;

  // ---- texts -------------------------------------------------------------------------------

  function languageTexts(index) {
    var all = webmap.config.texts;
    var row = Array.isArray(all) ? all[index] : null;
    return Array.isArray(row) && row.length >= ENGLISH.length ? row : ENGLISH;
  }

  // Item `item` (1-24) of the page's language; the table keeps some trailing blanks.
  function text(item) {
    return String(languageTexts(state.language)[item - 1]).trim();
  }

  function languageFromAddress() {
    var lang = parseInt(new URLSearchParams(window.location.search).get('lang'), 10);
    return lang >= 0 && lang < LANGUAGES ? lang : 0;
  }

  function element(tag, className, content) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (content !== undefined) e.textContent = content;  // text, never markup
    return e;
  }

  // ---- values ------------------------------------------------------------------------------

  function readValues(ids) {
    var values = {};
    ids.forEach(function (id) {
      var e = document.getElementById(id);
      var v = e ? ('value' in e ? e.value : e.getAttribute('value')) : null;
      values[id] = v === null || v === undefined ? '' : String(v);
    });
    return values;
  }

  function number(textValue) {
    var v = parseFloat(textValue);
    return isFinite(v) ? v : 0;
  }

  function fixed2(v) {
    return (isFinite(v) ? v : 0).toFixed(2);
  }

  // "%d%d:%d%d:%02d" of tens and units of hours and minutes, and seconds.
  function duration(seconds) {
    seconds = Math.max(0, Math.trunc(number(seconds)));
    var hours = Math.trunc(seconds / 3600);
    var minutes = Math.trunc(seconds / 60) % 60;
    var s = seconds % 60;
    return String(Math.trunc(hours / 10)) + String(hours % 10) + ':' + String(Math.trunc(minutes / 10)) +
           String(minutes % 10) + ':' + (s < 10 ? '0' : '') + s;
  }

  function latLngOf(latText, lngText) {
    var lat = parseFloat(latText);
    var lng = parseFloat(lngText);
    return webmap.isLatLng(lat, lng) ? L.latLng(lat, lng) : null;
  }

  // The encoded polyline format (five decimals). A cut-off or foreign text gives the points
  // that were complete.
  function decodePath(path) {
    var points = [];
    var index = 0;
    var lat = 0;
    var lng = 0;
    while (index < path.length) {
      var delta = [0, 0];
      for (var k = 0; k < 2; ++k) {
        var shift = 0;
        var result = 0;
        var c;
        do {
          if (index >= path.length) return points;
          c = path.charCodeAt(index++) - 63;
          if (c < 0 || c > 63 || shift > 30) return points;
          result |= (c & 31) << shift;
          shift += 5;
        } while (c >= 32);
        delta[k] = (result & 1) ? ~(result >> 1) : (result >> 1);
      }
      lat += delta[0];
      lng += delta[1];
      points.push([lat / 1e5, lng / 1e5]);
    }
    return points;
  }

  // One level per vertex, or none (every vertex at every zoom) when the levels do not fit.
  function decodeLevels(levels, count) {
    if (!levels || levels.length !== count) return null;
    var out = [];
    for (var i = 0; i < levels.length; ++i) {
      var level = levels.charCodeAt(i) - 63;
      if (level < 0 || level > TOP_LEVEL) return null;
      out.push(level);
    }
    return out;
  }

  function routeAtZoom(route) {
    if (!route.levels) return route.points;
    var least = TOP_LEVEL - Math.floor(map.getZoom());
    var out = [];
    for (var i = 0; i < route.points.length; ++i) {
      if (route.levels[i] >= least) out.push(route.points[i]);
    }
    return out;
  }

  // ---- drawing -----------------------------------------------------------------------------

  function mark(latlng, color, radius) {
    return L.circleMarker(latlng, {
      radius: radius || 6, color: COLORS.rim, weight: 2, fillColor: color, fillOpacity: 1, interactive: true
    });
  }

  // A tooltip whose content is built from text nodes only.
  function labelled(layer, title, time) {
    var box = element('div');
    box.appendChild(element('b', null, title));
    if (time) {
      box.appendChild(document.createElement('br'));
      box.appendChild(document.createTextNode(time));
    }
    layer.bindTooltip(box, {direction: 'top', offset: [0, -8]});
    return layer;
  }

  function clearRow() {
    if (routeLayers) routeLayers.forEach(function (l) { l.remove(); });
    if (rowLayer) rowLayer.remove();
    routeLayers = null;
    rowLayer = null;
    rowBounds = null;
  }

  function drawRouteAtZoom() {
    if (!routeLayers || !shown) return;
    var latlngs = routeAtZoom(shown.route);
    routeLayers.forEach(function (l) { l.setLatLngs(latlngs); });
    state.routeShown = latlngs.length;
  }

  function drawRow() {
    clearRow();
    if (!shown) return;
    var v = shown.values;
    var start = latLngOf(v.start_lat, v.start_lng);
    var end = latLngOf(v.end_lat, v.end_lng);
    var points = shown.route.points;
    var marks = [];
    if (shown.withLine) {
      routeLayers = [
        L.polyline([], {color: COLORS.casing, weight: 7, opacity: 0.8, interactive: false}),
        L.polyline([], {color: COLORS.route, weight: 4, opacity: 1, interactive: false})
      ];
      routeLayers.forEach(function (l) { l.addTo(map); });
      drawRouteAtZoom();
      if (end && !(start && start.equals(end))) marks.push(labelled(mark(end, COLORS.end), text(T.end), v.end_time));
      if (start) marks.push(labelled(mark(start, COLORS.start), text(T.start), v.start_time));
      var all = points.slice();
      if (start) all.push([start.lat, start.lng]);
      if (end) all.push([end.lat, end.lng]);
      if (all.length > 0) rowBounds = L.latLngBounds(all);
    } else {
      state.routeShown = 0;
      var at = start || (points.length > 0 ? L.latLng(points[0][0], points[0][1]) : null);
      if (at) {
        // A "P" badge standing on the spot, so the replay marker on the same spot leaves it seen.
        var badge = L.marker(at, {
          icon: L.divIcon({className: 'tracker-parking', html: 'P', iconSize: [18, 18], iconAnchor: [9, 26]}),
          keyboard: false
        });
        marks.push(labelled(badge, text(T.parking), v.start_time + ' - ' + v.end_time));
        rowBounds = L.latLngBounds([at, at]);
      }
    }
    rowLayer = L.layerGroup(marks).addTo(map);
    if (marker && map.hasLayer(marker)) marker.bringToFront();
  }

  function infoWidth() {
    return info && info.style.display !== 'none' ? info.offsetWidth + 10 : 0;
  }

  // Whether the marker can be seen: inside the map, and not under the information box.
  function inSight(latlng) {
    var size = map.getSize();
    var p = map.latLngToContainerPoint(latlng);
    if (p.x < 16 || p.y < 16 || p.x > size.x - 16 || p.y > size.y - 16) return false;
    if (info && info.style.display !== 'none') {
      var box = info.getBoundingClientRect();
      var mapBox = map.getContainer().getBoundingClientRect();
      var x = p.x + mapBox.left;
      var y = p.y + mapBox.top;
      if (x >= box.left - 8 && x <= box.right + 8 && y >= box.top - 8 && y <= box.bottom + 8) return false;
    }
    return true;
  }

  function fitView() {
    var size = map.getSize();
    if (size.x === 0 || size.y === 0) return;  // hidden: fitted again when shown
    if (rowBounds) {
      if (rowBounds.getNorthEast().equals(rowBounds.getSouthWest())) {
        map.setView(rowBounds.getCenter(), 16, {animate: false});
      } else {
        // Keep the route clear of the information box in the top right corner.
        map.fitBounds(rowBounds, {
          paddingTopLeft: [24, 24], paddingBottomRight: [24 + infoWidth(), 24], maxZoom: 17, animate: false
        });
      }
      viewChosen = true;
    } else if (marker) {
      map.setView(marker.getLatLng(), map.getZoom(), {animate: false});
      viewChosen = true;
    }
  }

  // ---- the information box -----------------------------------------------------------------

  // The box's lines: [label, value, unit] or a title; kept in pageState as shown.
  function infoLines() {
    if (!shown) return null;
    var v = shown.values;
    var lines = [];
    if (shown.withLine) {
      var total = number(v.total_Time);
      var moving = total - number(v.total_StopTime);
      var knots = number(v.averageSpeed);
      var radians = number(v.total_Distance);
      var top = number(v.maxSpeed);
      // A row that never moved has no average rather than a division by zero.
      var kmh = moving !== 0 ? knots * KMH_PER_KNOT / moving : 0;
      var mph = moving !== 0 ? knots * MPH_PER_KNOT / Math.abs(moving) : 0;
      lines.push({title: text(T.drivingInformation)});
      lines.push({label: text(T.start), text: v.start_time});
      lines.push({label: text(T.end), text: v.end_time});
      lines.push({label: text(T.totalDistance), value: fixed2(radians * KILOMETRES_PER_RADIAN), unit: text(T.km)});
      lines.push({label: '', value: fixed2(radians * MILES_PER_RADIAN), unit: text(T.mile)});
      lines.push({label: text(T.drivingTime), value: duration(total), unit: text(T.hhmmss)});
      lines.push({label: text(T.stoppedDuration), value: duration(v.total_StopTime), unit: text(T.hhmmss)});
      lines.push({label: text(T.averageSpeed), value: fixed2(kmh), unit: text(T.kmh)});
      lines.push({label: '', value: fixed2(mph), unit: text(T.mileh)});
      lines.push({label: text(T.maximumSpeed), value: fixed2(top * KMH_PER_KNOT), unit: text(T.kmh)});
      lines.push({label: '', value: fixed2(top * MPH_PER_KNOT), unit: text(T.mileh)});
    } else {
      lines.push({title: text(T.parking)});
      lines.push({label: text(T.start), text: v.start_time});
      lines.push({label: text(T.end), text: v.end_time});
    }
    lines.push({title: text(T.tripInformation), section: true});
    lines.push({label: text(T.driver), text: v.driver});
    lines.push({label: text(T.purpose), text: v.purpose});
    lines.push({label: text(T.memo), text: v.comment});
    return lines;
  }

  function drawInfo() {
    var lines = infoLines();
    state.info = lines;
    while (info.firstChild) info.removeChild(info.firstChild);
    info.style.display = lines ? '' : 'none';
    if (!lines) return;
    var table = element('table');
    lines.forEach(function (line) {
      var row = element('tr', line.section ? 'section' : null);
      if (line.title !== undefined) {
        var cell = element('td', 'title', line.title);
        cell.colSpan = 3;
        row.appendChild(cell);
      } else if (line.text !== undefined) {
        row.appendChild(element('td', null, line.label));
        var t = element('td', 'text', line.text);
        t.colSpan = 2;
        row.appendChild(t);
      } else {
        row.appendChild(element('td', null, line.label));
        row.appendChild(element('td', 'number', line.value));
        row.appendChild(element('td', 'unit', line.unit));
      }
      table.appendChild(row);
    });
    info.appendChild(table);
  }

  var InfoBox = L.Control.extend({
    options: {position: 'topright'},
    onAdd: function () {
      var box = L.DomUtil.create('div', 'tracker-info');
      box.style.display = 'none';
      L.DomEvent.disableClickPropagation(box);
      L.DomEvent.disableScrollPropagation(box);
      return box;
    }
  });

  // ---- triggers ----------------------------------------------------------------------------

  function showRow(withLine) {
    var v = readValues(ROW_IDS);
    var points = decodePath(v.map_path);
    var levels = decodeLevels(v.map_levels, points.length);
    // Vertices off the globe are not drawn, and their levels go with them.
    var route = {points: [], levels: levels ? [] : null};
    points.forEach(function (p, i) {
      if (!webmap.isLatLng(p[0], p[1])) return;
      route.points.push(p);
      if (levels) route.levels.push(levels[i]);
    });
    state.values = v;
    state.routePoints = points.length;
    shown = {withLine: withLine, values: v, route: route};
    drawRow();
    drawInfo();
    viewChosen = false;
    fitView();
    drawRouteAtZoom();
  }

  function setMarkerTime(textValue) {
    if (textValue === null) {
      if (markerTime) marker.unbindTooltip();
      markerTime = null;
      state.markerTime = null;
      return;
    }
    if (!markerTime) {
      markerTime = element('span', 'tracker-time');
      marker.bindTooltip(markerTime, {permanent: true, direction: 'right', offset: [10, 0]});
    }
    markerTime.textContent = textValue;
    state.markerTime = textValue;
  }

  function moveMarker() {
    var v = readValues(MARKER_IDS);
    state.values = v;
    var latlng = latLngOf(v.map_latitude, v.map_longitude);
    if (!latlng) return;
    marker = webmap.placePositionMarker(map, marker, latlng, COLORS.marker, COLORS.rim);
    state.marker = [latlng.lat, latlng.lng];
    setMarkerTime(v.map_showtime === '1' ? v.map_day + ' ' + v.map_time : null);

    var size = map.getSize();
    if (size.x === 0 || size.y === 0) return;
    if (!viewChosen) {
      // Nothing shown yet: the marker alone, at the zoom the program asks for.
      var zoom = parseInt(v.map_zoomlevel, 10);
      if (!(zoom >= 0 && zoom <= map.getMaxZoom())) zoom = map.getZoom();
      map.setView(latlng, zoom, {animate: false});
      viewChosen = true;
    } else if (!inSight(latlng)) {
      map.panTo(latlng, {animate: false});
    }
  }

  function changeLanguage() {
    var v = readValues(['map_language']);
    state.values = v;
    var index = v.map_language.length > 0 ? v.map_language.charCodeAt(0) - 48 : -1;
    if (index < 0 || index >= LANGUAGES) return;
    state.language = index;
    drawRow();
    drawInfo();
  }

  function print() {
    ++state.prints;
    window.print();
  }

  var TRIGGERS = {
    init_data: function () { showRow(true); },
    init_data_no_line: function () { showRow(false); },
    map_pointmove: moveMarker,
    onChangeLanguage: changeLanguage,
    onPrint: print
  };

  // Builds the map; the triggers are answered from then on.
  window.startTrackerMap = function () {
    state.language = languageFromAddress();
    map = webmap.createMap('map', {zoomControl: true, scale: 'both', center: [36.5, 127.8], zoom: 7});
    info = new InfoBox().addTo(map).getContainer();
    map.on('zoomend', drawRouteAtZoom);
    webmap.onResize(function () {
      if (!viewChosen) fitView();
    });
    // One listener for every trigger, wherever the page puts it.
    document.addEventListener('click', function (event) {
      var target = event.target;
      if (!target || !target.id || !Object.prototype.hasOwnProperty.call(TRIGGERS, target.id)) return;
      state.trigger = target.id;
      var call = ++state.calls;
      TRIGGERS[target.id]();
      // Two frames on, the picture of this call has been handed to the screen.
      requestAnimationFrame(function () {
        requestAnimationFrame(function () { state.drawn = Math.max(state.drawn, call); });
      });
    });
    webmap.markReady();
  };
})();
