#pragma once

#include "imaging/blockmemory.h"

#include <QImage>

namespace glimmerix
{

// A new 24-bit image block holding `image` (rows bottom-up, blue-green-red), or 0 when the image
// is null or no memory can be had.
BlockHandle imageToDibBlock(const QImage &image);

} // namespace glimmerix
