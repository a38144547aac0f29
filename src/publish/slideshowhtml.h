#pragma once

#include "slideshowfile.h"

#include <QByteArray>

namespace glimmerix
{

// "slideshow.html": one self-contained page (no server, no network, no outside script) that plays
// `show` from the package folder in a browser: the pictures in order, fitted on black, with the
// notes as captions, the music or each picture's sound, and the player's timings. Keys: Right,
// Space or Enter next, Left back, P pause, Home first. The show's data sits in the page as JSON,
// since a page opened from a file may not read other files as data.
QByteArray slideShowHtml(const SlideShowFile &show);

} // namespace glimmerix
