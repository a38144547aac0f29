#pragma once

#include "imaging/blockmemory.h"

#include <QString>

// The thumbnail size for a w x h picture: at most 80 on the longer side, never enlarged, never 0.
struct ThumbnailSize {
    int width;
    int height;
};
ThumbnailSize thumbnailSize(int width, int height);

// Bytes of a thumbnail bitmap (40-byte header and padded 24-bit rows) of the given size.
std::uint32_t thumbnailDataSize(ThumbnailSize size);

// Makes the thumbnail block for the media file at `path` from `picture` (an image block of 1, 4,
// 8 or 24 bits per pixel, kept by the caller): the ItemInfo with the file's facts, then the
// nearest-neighbour 24-bit bitmap. Returns 0 when the picture is malformed, the block cannot be
// allocated, or the path does not fit the record (message 59001).
BlockHandle makeThumbnail(BlockHandle picture, const QString &path);
