#pragma once

#include "dib.h"
#include "imagecodes.h"

#include <cstddef>
#include <cstdint>

namespace glimmerix
{

// Making and checking image blocks.

// Pixel bytes of a `width` x `height` picture at `bitCount` bits, or SIZE_MAX when the product
// does not fit in size_t or the dimensions are not positive.
std::size_t dibPixelBytes(std::int64_t width, std::int64_t height, int bitCount);

// Fills the header of a zero-filled picture: biSize 40, planes 1, compression 0, biClrUsed =
// `colors`, biSizeImage = `pixelBytes` (0 when that does not fit 32 bits). The resolution and
// biClrImportant are left as they are.
void initDibHeader(BITMAPINFOHEADER *header, std::int32_t width, std::int32_t height, int bitCount,
    std::uint32_t colors, std::size_t pixelBytes);

// A new image block with its header filled by initDibHeader (biSizeImage the padded rows times
// the height) and everything else zero; `extra` spare bytes follow the pixels. Refuses (TooLarge,
// checkPictureSize) pictures whose pixels exceed pictureByteLimit(); NoMemory when the block
// cannot be had. Shows nothing: the reader's entry point chooses the message.
DecodeResult createImageBlock(std::int32_t width, std::int32_t height, int bitCount,
    std::uint32_t colors, std::size_t extra = 0);

// The header of `block` when it describes a picture of 1, 4, 8 or 24 bits with positive
// dimensions whose table and rows lie inside the block; nullptr otherwise. Every operation that
// walks a caller's block checks it through here first.
BITMAPINFOHEADER *checkedDibHeader(BlockHandle block);

// Row `row` (0 = bottom) of a checked block.
inline unsigned char *dibRow(BITMAPINFOHEADER *header, std::int64_t row)
{
    return dibBits(header) + std::size_t(row) * dibRowBytes(header->biWidth, header->biBitCount);
}

// True when the header has the 256-entry table whose entry i is grey level i.
bool dibHasGreyTable(BITMAPINFOHEADER *header);

} // namespace glimmerix
