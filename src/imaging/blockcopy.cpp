#include "blockcopy.h"

#include "dibblock.h"

#include <cstring>

namespace glimmerix
{

BlockHandle copyImageBlock(BlockHandle block)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (!header)
        return 0;
    const std::size_t used
        = std::size_t(dibBits(header) - reinterpret_cast<unsigned char *>(header))
        + dibPixelBytes(header->biWidth, header->biHeight, header->biBitCount);
    const BlockHandle copy = allocPictureBlock(used);
    if (copy == 0)
        return 0;
    std::memcpy(blockLock(copy), header, used);
    return copy;
}

BlockHandle blockShapedLike(
    const BITMAPINFOHEADER *source, std::int32_t width, std::int32_t height, BlockHandle spare)
{
    const std::uint32_t colors = dibColorCount(*source);
    OwnedBlock reused(spare);
    const BITMAPINFOHEADER *old = checkedDibHeader(spare);
    BlockHandle block = 0;
    if (old && old->biWidth == width && old->biHeight == height
        && old->biBitCount == source->biBitCount && dibColorCount(*old) == colors) {
        block = reused.release();
    } else {
        reused.reset();
        const DecodeResult made = createImageBlock(width, height, source->biBitCount, colors);
        if (made.status != DecodeStatus::Ok)
            return 0;
        block = made.block;
    }
    BITMAPINFOHEADER *header = dibHeader(block);
    initDibHeader(header, width, height, source->biBitCount, colors,
        dibPixelBytes(width, height, source->biBitCount));
    header->biXPelsPerMeter = source->biXPelsPerMeter;
    header->biYPelsPerMeter = source->biYPelsPerMeter;
    header->biClrImportant = source->biClrImportant;
    std::memcpy(dibColors(header), dibColors(const_cast<BITMAPINFOHEADER *>(source)),
        colors * sizeof(RGBQUAD));
    return block;
}

} // namespace glimmerix
