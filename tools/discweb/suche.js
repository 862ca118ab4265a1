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

  function asCp1252(text) {
    var out = '';
    for (var ch of text) {
      var c = ch.codePointAt(0);
      out += c < 0x80 || (c >= 0xA0 && c <= 0xFF) || kExtra.indexOf(ch) >= 0 ? ch : '?';
    }
    return out;
  }
  function trim(text) { return text.replace(/^[\u0000-\u0020]+|[\u0000-\u0020]+$/g, ''); }
  function fold(text) { return text.replace(/[a-z]+/g, function (s) { return s.toUpperCase(); }); }

  var folded = null;
  function search(typed, exact) {
    var term = asCp1252(trim(typed));
    if (!term) return null;
    var texts = data.t;
    if (!exact) {
      if (!folded) folded = texts.map(fold);
      texts = folded;
      term = fold(term);
    }
    var found = [];
    for (var i = 0; i < texts.length; i++) if (texts[i].indexOf(term) >= 0) found.push(i);
    // Sorted by the menu's order of names (a stable sort: of equal names the first found stays).
    found.sort(function (a, b) { return data.r[a] - data.r[b] || a - b; });
    var once = [];
    for (var k = 0; k < found.length; k++)
      if (k === 0 || data.r[found[k]] !== data.r[found[k - 1]]) once.push(found[k]);
    return once;
  }

  function show(results, submitted) {
    var items = document.createDocumentFragment();
    (results || []).forEach(function (i) {
      var li = document.createElement('li');
      var a = document.createElement('a');
      a.href = data.u[i];
      a.textContent = data.n[i];
      li.appendChild(a);
      items.appendChild(li);
    });
    list.replaceChildren(items);
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
})();
