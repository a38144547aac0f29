#pragma once

#include "imaging/blockmemory.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"

#include <QString>

#include <cstdint>

namespace glimmerix
{

struct ItemInfo;

// The thumbnail size for a w x h picture: at most 80 on the longer side, never enlarged, never 0.
struct ThumbnailSize {
    int width;
    int height;
};
ThumbnailSize thumbnailSize(int width, int height);

// Bytes of a thumbnail bitmap (40-byte header and padded 24-bit rows) of the given size.
std::uint32_t thumbnailDataSize(ThumbnailSize size);

// A new thumbnail block of `size`: room for the ItemInfo (left zero), then the 24-bit bitmap
// header with the given resolution and zero pixels. 0 when no memory can be had.
BlockHandle newThumbnailBlock(
    ThumbnailSize size, std::int32_t xPelsPerMeter, std::int32_t yPelsPerMeter);
// The first pixel byte (bottom row) of a thumbnail block's bitmap.
unsigned char *thumbnailPixels(BlockHandle block);

// Fills the record's facts about the media file at `path` (size, time, whether it is a still
// picture) and the source and thumbnail dimensions; the text fields are left as they are.
void fillThumbnailInfo(ItemInfo &info, const QString &path, bool stillPicture, int sourceWidth,
    int sourceHeight, int sourceBitDepth, ThumbnailSize size);

// Makes the thumbnail block for the media file at `path` from `picture` (an image block of 1, 4,
// 8 or 24 bits per pixel, kept by the caller): the ItemInfo with the file's facts, then the
// nearest-neighbour 24-bit bitmap. Returns 0 when the picture is malformed, the block cannot be
// allocated, or the path does not fit the record (message 59001).
BlockHandle makeThumbnail(BlockHandle picture, const QString &path);
// The same for a file already identified. `fullSize`, when set, is the upright size of the
// picture `picture` stands for (a smaller picture the file carries): the thumbnail takes its
// proportions and the record its size.
BlockHandle makeThumbnail(
    BlockHandle picture, const MediaFile &file, MediaPictureSize fullSize = {});

} // namespace glimmerix
