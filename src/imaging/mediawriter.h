#pragma once

#include "imagecodes.h"

#include <QString>

namespace glimmerix
{

// Writes `block` to `path` by the name's extension: ".png" (lossless, libpng) and ".webp"
// (quality 90, libwebp) here, every album type through the picture type table (savePicture).
// A palette or grey picture is widened to 24 bits for PNG and WebP. A failed write keeps the
// file that was there.
WriteResult saveMediaPicture(BlockHandle block, const QString &path);

} // namespace glimmerix
