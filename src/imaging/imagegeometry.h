#pragma once

#include "blockmemory.h"

#include <QRect>

namespace glimmerix
{

// Cutting and turning image blocks. Coordinates are as the picture is seen: (0, 0) is the top
// left pixel. Results keep the source's depth, colour table and resolution; the source block is
// never changed.

// True when `area` is non-empty and lies wholly inside the picture of `block`.
bool areaInsidePicture(BlockHandle block, const QRect &area);
// The part `area` of the picture; 0 when the area does not lie wholly inside it (callers limit a
// selection to the picture first), for an invalid block, or when memory runs out.
BlockHandle cropPicture(BlockHandle block, const QRect &area);

// The picture turned clockwise by `degrees` (any value, negative turning the other way). Quarter
// turns move pixels exactly (the horizontal and vertical resolution swap places on a 90 or 270
// degree turn); other angles give the bounding box of the turned picture, 24-bit and greyscale
// pictures interpolated bilinearly, palette pictures by the nearest pixel, and the corners
// filled with the brightest colour. 0 for an invalid block or when the result would be too large.
BlockHandle rotatePicture(BlockHandle block, double degrees);

// Where upright pixel (x, y) of a picture stored with EXIF orientation `orientation` (1-8) lies
// in the stored `width` x `height` picture; both top-down. Orientations 5-8 swap the sides.
QPoint storedPixelOf(int orientation, int x, int y, int width, int height);
// The picture stored with EXIF orientation `orientation` (1-8) turned and mirrored upright: a new
// block, pixels moved exactly (resolutions swap places for 5-8). 0 for orientation 1 or a value
// outside 1-8 (nothing to do), for an invalid block, or when memory runs out.
BlockHandle orientBlock(BlockHandle block, int orientation);

} // namespace glimmerix
