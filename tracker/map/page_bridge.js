// The tracker's only way into a map page, injected into every page its map view loads before
// the page's own scripts run. The program never writes script: it names elements by id, hands
// each a text for its value and names one element to click; the page's click handlers read
// the values and redraw. Works with any page that carries the ids.
//
//   trackerSetValuesAndClick({ids: [...], values: [...], trigger: 'id' or '', keep: 'name' or ''})
//
// walks the document's elements from the last to the first, setting every element whose id is
// one of `ids` and remembering the first (from the end) whose id is `trigger`; each such
// element counts as a match, and the walk stops once there are as many matches as ids, plus
// one for the trigger. Then it clicks the trigger. With `keep`, the elements found are kept
// under that name once the first id has been found, and later requests with the same name set
// the kept elements directly, in the order of `ids`, without walking again.
(function () {
  'use strict';

  var kept = {};

  // Values are set as values: never parsed, never shown as markup.
  function setValue(element, text) {
    if ('value' in element) {
      element.value = text;
    } else {
      element.setAttribute('value', text);
    }
  }

  function walk(ids, values, trigger) {
    var all = document.getElementsByTagName('*');
    var wanted = ids.length + (trigger ? 1 : 0);
    var answer = {walked: true, visited: 0, matches: 0, clicked: false, kept: false, found: {}, trigger: null};
    for (var i = all.length - 1; i >= 0 && answer.matches < wanted; --i) {
      var element = all[i];
      ++answer.visited;
      var id = element.id;
      if (!id) continue;
      if (trigger && id === trigger && !answer.trigger) {
        answer.trigger = element;
        ++answer.matches;
        continue;
      }
      for (var k = 0; k < ids.length; ++k) {
        if (ids[k] !== id) continue;
        setValue(element, values[k]);
        (answer.found[id] = answer.found[id] || []).push(element);
        ++answer.matches;
      }
    }
    return answer;
  }

  function setKept(entry, ids, values) {
    var answer = {walked: false, visited: 0, matches: 0, clicked: false, kept: true, found: {}, trigger: entry.trigger};
    for (var k = 0; k < ids.length; ++k) {
      var elements = entry.found[ids[k]];
      if (!elements) continue;  // not found by the first walk: skipped
      for (var e = 0; e < elements.length; ++e) {
        setValue(elements[e], values[k]);
        ++answer.matches;
      }
      answer.found[ids[k]] = elements;
    }
    if (answer.trigger) ++answer.matches;
    return answer;
  }

  window.trackerSetValuesAndClick = function (request) {
    var ids = Array.isArray(request.ids) ? request.ids.map(String) : [];
    var values = Array.isArray(request.values) ? request.values.map(String) : [];
    var trigger = request.trigger ? String(request.trigger) : '';
    var keep = request.keep ? String(request.keep) : '';

    var entry = keep ? kept[keep] : null;
    var answer;
    if (entry) {
      answer = setKept(entry, ids, values);
    } else {
      answer = walk(ids, values, trigger);
      if (keep && ids.length > 0 && answer.found[ids[0]]) {
        kept[keep] = {found: answer.found, trigger: answer.trigger};
        answer.kept = true;
      }
    }
    if (answer.trigger) {
      answer.trigger.click();
      answer.clicked = true;
    }
    // Plain data back to the program: which ids were set, not the elements.
    return {
      walked: answer.walked,
      visited: answer.visited,
      matches: answer.matches,
      clicked: answer.clicked,
      kept: answer.kept,
      set: Object.keys(answer.found)
    };
  };
})();
