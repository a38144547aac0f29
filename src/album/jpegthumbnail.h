#pragma once

#include "imaging/blockmemory.h"

#include <QString>

namespace glimmerix
{

// The thumbnail block of a JPEG photo made while decoding: only the rows the nearest-neighbour
// rule samples are decoded (libjpeg-turbo skips the others), so a 12-megapixel photo costs a
// fraction of a full decode and memory stays at one row. The pixels equal those of a full
// default decode (RGB, or greyscale through a grey colour table) sampled by makeThumbnail.
// Returns 0 when the file is not a JPEG this path handles (the caller then takes the general
// path, which reports errors). A photo whose EXIF orientation is 2-8 gets the thumbnail of its
// upright picture, and the record its upright size.
BlockHandle makeJpegThumbnail(const QString &path);

} // namespace glimmerix
