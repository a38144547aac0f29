#pragma once

#include "imagecodes.h"
#include "mediafile.h"

namespace glimmerix
{

// What a still picture is read for. A thumbnail may come from a picture the file carries for
// the purpose (a HEIF thumbnail, a camera RAW preview) when it is large enough; the full picture
// is the file's main image at its own size.
enum class PictureUse { Thumbnail, Full };

// Reads the still picture `file` as a picture block, whatever its format: the album's own types
// through their readers, the others through the library that reads them. Ok with the block, or
// why not, in words that follow "FILE: ". Never shows anything.
DecodeResult loadMediaPicture(const MediaFile &file, PictureUse use = PictureUse::Full);

} // namespace glimmerix
