#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QFont;

namespace glimmerix
{

// How a presentation lays a picture on the screen. Frames are 32-bit RGB images of the screen's
// size.

// The size a `picture` takes inside `area`: its proportions kept, never enlarged. The area is
// first cut to the picture's size, then the side that limits decides.
QSize fitPictureSize(QSize picture, QSize area);

// The picture at `path` as a 32-bit image, read without any message; a null image (and why in
// `problem`) when it cannot be read.
QImage loadPresentationPicture(const QString &path, QString *problem = nullptr);

// `image` with its colours reduced to what a screen of `depth` bits shows: unchanged above 8
// bits, the 216-colour cube (levels 0, 51, ..., 255 per channel) at 8 bits, the 16 standard
// colours below.
QImage reduceToScreenDepth(const QImage &image, int depth);

// A black screen of `screen` size with `picture` fitted and centred on it, its colours reduced
// for `depth`. A null picture gives a black screen.
QImage composeSlide(const QImage &picture, QSize screen, int depth);

// Draws `caption` centred near the top of `frame`: black with its top at 12 pixels, then white
// with its top at 10 pixels and its right edge 4 pixels further left, so it reads on any picture.
void drawCaption(QImage &frame, const QString &caption, const QFont &font);

} // namespace glimmerix
