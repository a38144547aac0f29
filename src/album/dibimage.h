#pragma once

#include "imaging/blockmemory.h"

#include <QImage>

namespace glimmerix
{

// A new 24-bit image block holding `image` (rows bottom-up, blue-green-red), or 0 when the image
// is null or no memory can be had.
BlockHandle imageToDibBlock(const QImage &image);
// An image block (1, 4, 8 or 24 bits, uncompressed) as a QImage for display, or a null image
// when the block's header does not describe a picture that fits inside the block.
QImage imageFromDibBlock(BlockHandle block);

} // namespace glimmerix
