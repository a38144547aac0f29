// The lightbox of the responsive web album: PhotoSwipe over the grid's picture links, with the
// item's texts shown under the picture and Home/End for the first and last picture. Without
// PhotoSwipe (or without scripts) the links simply open the pictures.
(function () {
  'use strict';
  if (typeof PhotoSwipeLightbox === 'undefined' || typeof PhotoSwipe === 'undefined') {
    return;
  }
  var style = document.createElement('link');
  style.rel = 'stylesheet';
  style.href = 'photoswipe.css';
  document.head.appendChild(style);
  var lightbox = new PhotoSwipeLightbox({
    gallery: '#album',
    children: 'a.photo',
    pswpModule: PhotoSwipe,
    bgOpacity: 0.94,
    showHideAnimationType: 'fade'
  });
  lightbox.on('uiRegister', function () {
    var pswp = lightbox.pswp;
    // The viewer is a dialog: screen readers announce it by the album's title.
    if (pswp.element) {
      pswp.element.setAttribute('aria-label', document.title);
    }
    pswp.ui.registerElement({
      name: 'album-details',
      className: 'album-details',
      appendTo: 'root',
      order: 9,
      isButton: false,
      html: '',
      onInit: function (element) {
        element.setAttribute('aria-live', 'polite');
        pswp.on('change', function () {
          var link = pswp.currSlide && pswp.currSlide.data.element;
          var figure = link && link.closest('figure');
          var details = figure && figure.querySelector('.details');
          element.replaceChildren();
          if (details) {
            // Copies of nodes the page already holds: the texts stay text.
            Array.prototype.forEach.call(details.childNodes, function (node) {
              element.appendChild(node.cloneNode(true));
            });
          }
        });
      }
    });
    pswp.on('keydown', function (event) {
      var key = event.originalEvent.key;
      if (key === 'Home' || key === 'End') {
        event.preventDefault();
        pswp.goTo(key === 'Home' ? 0 : pswp.getNumItems() - 1);
      }
    });
  });
  lightbox.init();
})();
