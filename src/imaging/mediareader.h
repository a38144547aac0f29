#pragma once

#include "imagecodes.h"
#include "mediafile.h"

namespace glimmerix
{

// What a still picture is read for. A thumbnail may come from a picture the file carries for
// the purpose (a HEIF thumbnail, a camera RAW preview) when it is large enough; the full picture
// is the file's main image at its own size.
enum class PictureUse { Thumbnail, Full };

// The upright size of the file's main picture. A block read for a thumbnail may be a smaller
// picture the file carries; this is the size the record keeps as the source's.
struct MediaPictureSize {
    int width = 0;
    int height = 0;
};

// The size of the thumbnail a picture of `width` x `height` gets (the album's rule). Given to
// loadMediaPicture for a thumbnail, it lets a reader of a format that cannot be decoded at a
// smaller scale keep only the pixels the thumbnail takes: column x * width / thumbnail width and
// row y * height / thumbnail height, rows counted from the bottom, as makeThumbnail samples. The
// block is then of the thumbnail's size and `fullSize` says the picture's.
using ThumbnailRule = MediaPictureSize (*)(int width, int height);

// Reads the still picture `file` as a picture block, whatever its format: the album's own types
// through their readers, the others through the library that reads them. Ok with the block, or
// why not, in words that follow "FILE: ". Never shows anything.
// `fullSize`, when given, receives the main picture's upright size (the block's own size unless
// a smaller embedded picture was read).
DecodeResult loadMediaPicture(const MediaFile &file, PictureUse use = PictureUse::Full,
    MediaPictureSize *fullSize = nullptr, ThumbnailRule thumbnailRule = nullptr);

} // namespace glimmerix
