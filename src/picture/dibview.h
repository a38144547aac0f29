#pragma once

#include "album/dibimage.h"
#include "imaging/blockmemory.h"

#include <QImage>

namespace glimmerix
{

// What a window paints a picture from without copying it. For a 24-bit block: a QImage over the
// block's own pixels, rows bottom-up as the block keeps them (`bottomUp` set), valid while the
// block lives. For other depths: imageFromDibBlock's top-down copy.
QImage dibPaintSource(BlockHandle block, bool &bottomUp);
// The part `area` (top-down picture coordinates, within the picture) of a paint source, top-down.
QImage paintSourcePart(const QImage &source, bool bottomUp, const QRect &area);
// The picture shrunk by a whole `factor`: every factor x factor square of a 24-bit block averaged
// into one pixel (width div factor by height div factor, at least 1 x 1); other depths scaled
// smoothly. Reads each pixel once, so a large picture shrinks quickly.
QImage shrunkDibImage(BlockHandle block, int factor);

} // namespace glimmerix
