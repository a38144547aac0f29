#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

namespace glimmerix
{

// Colour reduction for displays of 8 bits per pixel or fewer. True-colour displays (every
// display a current Linux desktop offers) use the pictures as stored.

// The halftone colour table: the 16 standard system colours, then the 6 x 6 x 6 colour cube
// with steps 0, 51, 102, 153, 204, 255 (red fastest, then green, then blue): 232 entries.
QList<QRgb> halftoneColorTable();

// `image` as a display of `depth` bits per pixel shows it: unchanged above 8 bits; each channel
// rounded to the nearest of 6 levels (steps of 51) at 5 to 8 bits; to the 8 corner colours
// (each channel 0 or 255) at 4 bits or fewer.
QImage reduceToDisplayDepth(const QImage &image, int depth);

} // namespace glimmerix
