#pragma once

#include "imagecodes.h"
#include "mediafile.h"

#include <QString>

namespace glimmerix
{

// Pictures are shown and made from upright: the EXIF orientation a camera or phone records is
// applied where a picture is read for showing or for a product. Only for the formats whose
// readers leave it to us (JPEG, TIFF, PNG, WebP); HEIF pictures come upright from libheif and
// camera RAW pictures from LibRaw, so applying their EXIF orientation again would turn them twice.
bool appliesExifOrientation(MediaFormat format);

// The orientation to apply to the picture in the file at `path`: 2-8, or 1 when there is nothing
// to do (orientation 1, none, a value outside 1-8, or a format whose reader applies it).
int pictureOrientation(const QString &path);

// Takes `picture`, read from `path`, and returns it upright: the same handle when there is
// nothing to do, else a new block (the old one freed). When the turn cannot get its memory the
// picture is kept as stored rather than lost.
BlockHandle uprightPicture(BlockHandle picture, const QString &path);

// The same for a reader's result: turns the block of an Ok result upright.
void makeUpright(DecodeResult &read, const QString &path);

} // namespace glimmerix
