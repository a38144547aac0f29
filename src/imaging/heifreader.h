#pragma once

#include "imagecodes.h"
#include "mediareader.h"

#include <span>

namespace glimmerix
{

// HEIC/HEIF and AVIF stills through libheif: the primary image with its rotation, mirror and
// crop applied, 10-bit pictures brought to 8 bits, grids joined, alpha composed on white. For a
// thumbnail the file's own thumbnail is used when its longer side is at least 160 pixels.
// Without one, and given `thumbnailRule`, only the pixels the thumbnail takes are kept (see
// ThumbnailRule). `fullSize` (may be null) receives the primary image's upright size. The size
// limit is checked on the announced dimensions before anything is decoded.
DecodeResult readHeif(std::span<const unsigned char> bytes, PictureUse use,
    MediaPictureSize *fullSize = nullptr, ThumbnailRule thumbnailRule = nullptr);

// The shortest longer side of an embedded thumbnail that stands in for the picture.
inline constexpr int kEmbeddedThumbnailMinimum = 160;

} // namespace glimmerix
