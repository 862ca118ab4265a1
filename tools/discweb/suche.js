// The menu's search over the data of suche-daten.js, as the reader types. It finds what the menu's
// search finds: the term trimmed, taken as Windows-1252 (a character that code page lacks becomes
// "?"), looked for in the same values of each record, exactly or with only the letters a-z folded;
// the names in the menu's order, each once. Results are written as text, never as markup.
(function () {
  'use strict';
  var data = window.CDWEB_SUCHE;
  var form = document.getElementById('suche');
  var field = document.getElementById('begriff');
  var matchCase = document.getElementById('gross');
  var list = document.getElementById('ergebnisse');
  var status = document.getElementById('status');
  if (!data || !form || !field || !list || !status) return;

  var kNoTerm = 'Bitte geben Sie einen Suchbegriff ein.';
  var kNothing = 'Es konnten keine Programme gefunden werden, die Ihrer Suche entsprechen.';
  // Characters of Windows-1252 beyond Latin-1, and the five bytes it leaves unassigned.
  var kExtra = '\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D' +
    '\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178';

  // The search data holds each Windows-1252 byte as the character of the same number (U+0000 to
  // U+00FF), which browsers store and scan one byte per character; the term is turned into the
  // same bytes, a character that code page lacks into "?" as the menu's conversion does.
  function asBytes(text) {
    var out = '';
    for (var ch of text) {
      var c = ch.codePointAt(0);
      var extra = kExtra.indexOf(ch);
      out += c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? ch : extra >= 0 ? String.fromCharCode(0x80 + extra) : '?';
    }
    return out;
  }
  function trim(text) { return text.replace(/^[\u0000-\u0020]+|[\u0000-\u0020]+$/g, ''); }

  // All records in one text, each followed by a line feed (a term never holds one, so no hit spans
  // two records): one scan, and a hit skips to the next record.
  var starts = [];
  var all = null;
  function text() {
    if (!all) {
      var at = 0;
      for (var i = 0; i < data.t.length; i++) {
        starts.push(at);
        at += data.t[i].length + 1;
      }
      starts.push(at);
      all = data.t.join('\n') + '\n';
    }
    return all;
  }

  // Without regard to case only the letters A-Z meet their other case; umlauts and every other
  // character match only themselves. The text is kept a second time with A-Z made small, character
  // for character, so that such a search is a plain scan as well.
  function fold(text) { return text.replace(/[A-Z]+/g, function (s) { return s.toLowerCase(); }); }
  var folded = null;
  function foldedText() {
    if (!folded) folded = fold(text());
    return folded;
  }

  // The records in the menu's order of their names; of equal names the one found first comes first.
  var order = null;
  function menuOrder() {
    if (!order) {
      order = data.r.map(function (r, i) { return i; });
      order.sort(function (a, b) { return data.r[a] - data.r[b] || a - b; });
    }
    return order;
  }

  function search(typed, exact) {
    var term = asBytes(trim(typed));
    if (!term) return null;
    var haystack = exact ? text() : foldedText();
    var needle = exact ? term : fold(term);
    function next(from) { return haystack.indexOf(needle, from); }
    var hit = new Uint8Array(data.n.length);
    var record = 0;
    for (var pos = next(0); pos >= 0; pos = next(starts[record])) {
      while (starts[record + 1] <= pos) record++;
      hit[record] = 1;
      record++;
    }
    // Sorted as the menu sorts, each name once (the first found of names that compare equal).
    var once = [];
    var sorted = menuOrder();
    var lastRank = -1;
    for (var k = 0; k < sorted.length; k++) {
      var i = sorted[k];
      if (!hit[i] || data.r[i] === lastRank) continue;
      lastRank = data.r[i];
      once.push(i);
    }
    return once;
  }

  // The first results at once, the rest a frame later in pieces, so that typing stays quick with
  // thousands of results; a newer search stops the older one's pieces.
  var shown = 0;
  function show(results, submitted) {
    var mine = ++shown;
    var next = 0;
    function add(count) {
      var items = document.createDocumentFragment();
      for (var end = Math.min(results.length, next + count); next < end; next++) {
        var li = document.createElement('li');
        var a = document.createElement('a');
        a.href = data.u[results[next]];
        a.textContent = data.n[results[next]];
        li.appendChild(a);
        items.appendChild(li);
      }
      list.appendChild(items);
    }
    function more() {
      if (mine !== shown || next >= results.length) return;
      add(1000);
      setTimeout(more, 0);
    }
    // A fresh, empty list in the old one's place: dropping thousands of rows one by one costs the
    // browser more than the search.
    var fresh = list.cloneNode(false);
    list.replaceWith(fresh);
    list = fresh;
    if (results) {
      add(200);
      // After the frame that shows the first ones.
      requestAnimationFrame(function () { setTimeout(more, 0); });
    }
    if (results === null) status.textContent = submitted ? kNoTerm : '';
    else if (results.length === 0) status.textContent = kNothing;
    else status.textContent = results.length === 1 ? '1 Programm gefunden' : results.length + ' Programme gefunden';
  }

  function run(submitted) {
    show(search(field.value, matchCase && matchCase.checked), submitted);
    // The address keeps the term, so that "back" from a result returns to the same list.
    try {
      var query = '?q=' + encodeURIComponent(field.value) + (matchCase && matchCase.checked ? '&gross=1' : '');
      history.replaceState(null, '', query);
    } catch (e) { /* some browsers refuse this for file:// pages */ }
  }

  var params = new URLSearchParams(location.search);
  if (params.has('q')) field.value = params.get('q');
  if (matchCase && params.get('gross') === '1') matchCase.checked = true;
  field.addEventListener('input', function () { run(false); });
  if (matchCase) matchCase.addEventListener('change', function () { run(false); });
  form.addEventListener('submit', function (event) {
    event.preventDefault();
    run(true);
  });
  if (field.value) run(false);
  // The texts and the order are made while the reader has not typed yet, so the first search is as quick.
  (window.requestIdleCallback || setTimeout)(function () {
    foldedText();
    menuOrder();
  });
})();
