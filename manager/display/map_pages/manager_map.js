// The manager's map: where the car is at the playing position, on the drive of the opened
// recording. The program calls
//   animate(lng, lat)  the position; animate(1.0, 1.0) when there is none
//   setTrack(points)   the recording's valid fixes, [[lat, lng], ...], once per recording
//   setTexts(noPosition, tilesUnavailable)  the notes in the user's language, once loaded
// and reads window.pageState: {ready, tiles, marker: [lat, lng] or null, trackPoints}.
(function () {
  'use strict';

  var COLORS = {
    casing: '#1b1e23',
    track: '#f2a900',
    marker: '#3d8bfd',
    start: '#30a46c',
    end: '#e5484d',
    rim: '#ffffff'
  };

  var state = window.pageState;
  state.marker = null;
  state.trackPoints = 0;

  var map = null;
  var trackLayer = null;
  var trackBounds = null;
  var marker = null;
  var noPosition = null;
  var viewChosen = false;

  function mark(latlng, color, title) {
    return L.circleMarker(latlng, {
      radius: 5, color: COLORS.rim, weight: 2, fillColor: color, fillOpacity: 1, interactive: true
    }).bindTooltip(title, {direction: 'top', offset: [0, -6]});
  }

  // Shows the whole drive, or the marker alone when there is no drive.
  function fitView() {
    if (!map) return;
    var size = map.getSize();
    if (size.x === 0 || size.y === 0) return;  // hidden: fitted again when shown
    if (trackBounds) {
      map.fitBounds(trackBounds, {padding: [18, 18], maxZoom: 17, animate: false});
      viewChosen = true;
    } else if (marker) {
      map.setView(marker.getLatLng(), 16, {animate: false});
      viewChosen = true;
    }
  }

  function keepInView(latlng) {
    var size = map.getSize();
    if (size.x === 0 || size.y === 0) return;
    if (!viewChosen) {
      fitView();
      return;
    }
    // Far away (a track the view was not fitted to): jump; close by: pan smoothly.
    var point = map.latLngToContainerPoint(latlng);
    if (point.x < -size.x || point.y < -size.y || point.x > 2 * size.x || point.y > 2 * size.y) {
      map.setView(latlng, map.getZoom(), {animate: false});
    } else {
      map.panInside(latlng, {padding: [24, 24]});
    }
  }

  function showNoPosition(shown) {
    if (noPosition) noPosition.getContainer().style.display = shown ? '' : 'none';
  }

  window.animate = function (lng, lat) {
    if (!map) return;
    if (lng === 1.0 && lat === 1.0) {
      if (marker) marker.remove();
      state.marker = null;
      showNoPosition(true);
      return;
    }
    if (!webmap.isLatLng(lat, lng)) return;
    var latlng = L.latLng(lat, lng);
    marker = webmap.placePositionMarker(map, marker, latlng, COLORS.marker, COLORS.rim);
    state.marker = [lat, lng];
    showNoPosition(false);
    keepInView(latlng);
  };

  window.setTrack = function (points) {
    if (!map) return;
    var latlngs = webmap.cleanLatLngs(points);
    if (trackLayer) trackLayer.remove();
    trackLayer = null;
    trackBounds = null;
    state.trackPoints = latlngs.length;
    if (latlngs.length > 0) {
      var first = latlngs[0];
      var last = latlngs[latlngs.length - 1];
      var layers = [
        L.polyline(latlngs, {color: COLORS.casing, weight: 7, opacity: 0.8, interactive: false}),
        L.polyline(latlngs, {color: COLORS.track, weight: 4, opacity: 1, interactive: false})
      ];
      // A drive that never moved gets one mark.
      if (latlngs.length > 1 && (first[0] !== last[0] || first[1] !== last[1])) layers.push(mark(last, COLORS.end, 'End'));
      layers.push(mark(first, COLORS.start, 'Start'));
      trackLayer = L.layerGroup(layers).addTo(map);
      trackBounds = L.latLngBounds(latlngs);
    }
    if (marker && map.hasLayer(marker)) marker.bringToFront();
    viewChosen = false;
    fitView();
  };

  window.setTexts = function (noPositionText, tilesUnavailableText) {
    webmap.texts.tilesUnavailable = String(tilesUnavailableText);
    document.querySelectorAll('.webmap-note:not(.manager-no-position)').forEach(function (note) {
      note.textContent = webmap.texts.tilesUnavailable;
    });
    noPositionText = String(noPositionText);
    if (noPosition) noPosition.getContainer().textContent = noPositionText;
    noPositionDefault = noPositionText;
  };

  var noPositionDefault = 'No GPS position';

  var NoPositionNote = L.Control.extend({
    options: {position: 'topleft'},
    onAdd: function () {
      var note = L.DomUtil.create('div', 'webmap-note manager-no-position');
      note.textContent = noPositionDefault;
      note.style.display = 'none';
      return note;
    }
  });

  // Builds the map; `options` as webmap.createMap takes them.
  window.startManagerMap = function (options) {
    map = webmap.createMap('map', options);
    noPosition = new NoPositionNote().addTo(map);
    webmap.onResize(function () {
      if (!viewChosen) {
        fitView();
      } else if (marker && map.hasLayer(marker)) {
        keepInView(marker.getLatLng());
      }
    });
    webmap.markReady();
  };
})();
