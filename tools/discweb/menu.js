// The web edition's pages work without this script; it adds what the menu does beyond links: the
// banners take turns, and the full-screen picture answers the keys of the menu's full-screen view.
(function () {
  'use strict';

  // One banner at a time, chosen at random among those that take part; a still one stays 20
  // seconds, an animated one one run of its animation (the page says how long that is).
  function banners() {
    var box = document.querySelector('.banner');
    if (!box) return;
    var items = Array.prototype.slice.call(box.querySelectorAll('[data-dauer]'));
    var pause = document.getElementById('banner-pause');
    if (items.length < 2) {
      if (pause) pause.hidden = true;
      return;
    }
    var timer = 0;
    var stopped = false;
    function show(index) {
      items.forEach(function (item, k) { item.hidden = k !== index; });
      clearTimeout(timer);
      if (!stopped) timer = setTimeout(next, Number(items[index].dataset.dauer) || 20000);
    }
    function next() { show(Math.floor(Math.random() * items.length)); }
    if (pause) {
      pause.hidden = false;
      pause.addEventListener('click', function () {
        stopped = !stopped;
        pause.setAttribute('aria-pressed', String(stopped));
        if (stopped) clearTimeout(timer); else next();
      });
    }
    next();
  }

  // The full-screen picture (#vollbild): Escape or a click beside the picture closes it, Left and
  // Right go to the previous and next program, Home and End to the first and last.
  function fullScreen() {
    var box = document.getElementById('vollbild');
    if (!box) return;
    var rest = document.querySelectorAll('body > :not(#vollbild)');
    function isOpen() { return location.hash === '#vollbild'; }
    function close() { location.hash = 'bild'; }
    function sync() {
      var open = isOpen();
      for (var i = 0; i < rest.length; i++) rest[i].inert = open;
      if (open) {
        var first = box.querySelector('a');
        if (first) first.focus();
      }
    }
    window.addEventListener('hashchange', sync);
    document.addEventListener('keydown', function (event) {
      if (!isOpen() || event.altKey || event.ctrlKey || event.metaKey) return;
      var rel = { ArrowLeft: 'prev', ArrowRight: 'next', Home: 'first', End: 'last' }[event.key];
      if (event.key === 'Escape') {
        event.preventDefault();
        close();
      } else if (rel) {
        var link = box.querySelector('[data-gehe="' + rel + '"]');
        event.preventDefault();
        if (link) location.href = link.href;
      }
    });
    box.addEventListener('click', function (event) {
      if (!event.target.closest('a')) close();
    });
    sync();
  }

  banners();
  fullScreen();
})();
